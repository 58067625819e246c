#include "core/LauncherApp.h"

bool LauncherApp::ReadLaunchSettings()
{
    return false;
}
