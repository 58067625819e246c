#pragma once

#include "base/Text.h"
#include "runtime/Version.h"

// The "release" file at the top of a runtime home: one NAME="value" line per
// property, written by the runtime's build. JAVA_VERSION and IMPLEMENTOR are
// used.

// No more than this many bytes of a release file are read; real ones are a
// few hundred bytes, with JAVA_VERSION among the first lines.
constexpr int kReleaseFileReadLimit = 64 * 1024;

// The value of the first line that starts with name and "=" in release file
// text (any bytes, exactly length of them; a UTF-8 byte-order mark is
// skipped), without the blanks and the quotes around it. False when there is
// no such line.
bool FindReleaseValue(const char* bytes, int length, const char* name, const char*& value, int& valueLength);

// The version in the first JAVA_VERSION line, missing groups 0. False, with
// version all zero, when there is no such line or its value is no version.
bool ParseReleaseVersion(const char* bytes, int length, JavaVersion& version);

// True when the first IMPLEMENTOR line names IBM ("IBM ..." or
// "International Business Machines ...").
bool ReleaseTextNamesIbm(const char* bytes, int length);

// At most kReleaseFileReadLimit bytes of home + "release" (home ends in a
// backslash). False when the file cannot be read.
bool ReadReleaseFile(const String& home, AnsiString& bytes);

// ParseReleaseVersion over the release file of home. False when the file
// cannot be read or holds no version.
bool ReadReleaseVersion(const String& home, JavaVersion& version);
