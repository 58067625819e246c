#pragma once

#include "base/Text.h"

#include <windows.h>

// The file path of a loaded module (the launcher itself for null), however
// long. Empty, with the system's error number in error, when there is none.
String ReadModuleFilePath(HMODULE module, DWORD& error);
// The launcher's own module path. On failure the "module path" message is
// shown and the result is empty.
String GetModulePath();
// The module path up to and including its last backslash; empty on failure.
String GetModuleDirectory();
