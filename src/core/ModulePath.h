#pragma once

#include "base/Text.h"

// The launcher's own module path (GetModuleFileNameW into 260 units; a longer
// path comes back truncated by the system and is used as it is). On failure
// the "module path" message is shown and the result is empty.
String GetModulePath();
// The module path up to and including its last backslash; empty on failure.
String GetModuleDirectory();
