#pragma once

#include "base/Text.h"
#include "base/Trace.h"

// Trace lines about the launch as a whole (base/Trace.h has the writer).

// Starts the trace when JLAUNCH_TRACE is set and writes its first lines: the
// launcher's path and version, the local time and the command line.
void StartLaunchTrace();

// "read" when the settings file at path exists, otherwise a note that its
// keys take their defaults.
const wchar_t* SettingsFileState(const String& path);
