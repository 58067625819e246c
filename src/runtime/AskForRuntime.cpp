#include "core/LauncherApp.h"

// The last source of a runtime: the user picks a runtime folder. On OK it
// leaves the validated library in m_jvmLibraryPath and the folder stored as
// "JRE Path"; FindRuntime then checks the library's architecture.
//
// Until the runtime-not-found dialog exists, nobody is asked and a launch
// that found no runtime ends.
bool LauncherApp::AskForRuntime()
{
    return false;
}
