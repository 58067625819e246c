#pragma once

#include "base/Text.h"
#include "runtime/Version.h"

// The "release" file at the top of a runtime home: one NAME="value" line per
// property, written by the runtime's build. Only JAVA_VERSION is used.

// No more than this many bytes of a release file are read; real ones are a
// few hundred bytes, with JAVA_VERSION among the first lines.
constexpr int kReleaseFileReadLimit = 64 * 1024;

// The version in the first JAVA_VERSION line of release file text (any bytes,
// exactly length of them), missing groups 0. The value may be quoted. False,
// with version all zero, when there is no such line or its value is no version.
bool ParseReleaseVersion(const char* bytes, int length, JavaVersion& version);

// ParseReleaseVersion over home + "release" (home ends in a backslash). False
// when the file cannot be read or holds no version.
bool ReadReleaseVersion(const String& home, JavaVersion& version);
