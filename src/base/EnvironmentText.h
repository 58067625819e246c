#pragma once

#include "base/Text.h"

// %NAME% references replaced by the process environment's values. A
// reference to a variable that is not set stays as written; when the system
// cannot expand the text at all it comes back unchanged.
String ExpandEnvironment(const String& text);

// The value of an environment variable, read whole however long it is; empty
// when the variable is not set.
String ReadEnvironmentVariable(const wchar_t* name);
