#pragma once

#include "base/Text.h"

// The path with its last component cut off count times (at the last
// backslash each time; a cut is skipped when no backslash is left). The
// result has no trailing backslash: home\bin\server\jvm.dll with 2 gives
// home\bin, with 3 gives home.
String StripLastComponents(const String& path, int count);

// %NAME% references replaced by the process environment's values. A
// reference to a variable that is not set stays as written; when the system
// cannot expand the text at all it comes back unchanged.
String ExpandEnvironment(const String& text);
