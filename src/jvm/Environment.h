#pragma once

#include "base/EnvironmentText.h"
#include "base/Text.h"

// The path with its last component cut off count times (at the last
// backslash each time; a cut is skipped when no backslash is left). The
// result has no trailing backslash: home\bin\server\jvm.dll with 2 gives
// home\bin, with 3 gives home.
String StripLastComponents(const String& path, int count);
