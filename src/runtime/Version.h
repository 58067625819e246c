#pragma once

#include "base/Text.h"

#include <stdint.h>

// A Java version: four signed 32-bit components and the number of digit
// groups the parser consumed (0 when parsing failed, 5 when the text had more
// than four groups). The count never takes part in comparisons.
struct JavaVersion {
    int32_t component[4] = {0, 0, 0, 0};
    int32_t count = 0;
};

// The window of acceptable versions and the version of the runtime chosen
// from the registry (the working record).
struct VersionRequirement {
    JavaVersion working;
    JavaVersion minimum;
    JavaVersion maximum;
};

constexpr int32_t kVersionOpenEnd = 65535;

// Any run of non-digits separates groups. Components the text does not supply
// get fill (0 for minima and candidates, 65535 for maxima).
bool ParseVersion(const String& text, int32_t fill, JavaVersion& version);
// < 0, 0, > 0 as a is less than, equal to or greater than b.
int CompareVersions(const JavaVersion& a, const JavaVersion& b);
String FormatVersion(const JavaVersion& version);
// All four components 0, or all four 65535.
bool IsUnbounded(const JavaVersion& version);
bool MatchesPreferred(const JavaVersion& candidate, const JavaVersion& preferred);
// The phrase that fills %s of the runtime-not-found message.
String BuildRequirementText(const JavaVersion& minimum, const JavaVersion& maximum);
