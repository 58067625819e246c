#include "core/LauncherApp.h"

// The uncaught-exception dialog is not available yet: the exception is left
// as it is and the application goes on as if "ignore" had been chosen.
bool LauncherApp::ShowUncaughtException(jthrowable)
{
    return false;
}
