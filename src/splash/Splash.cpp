#include "core/LauncherApp.h"

// No splash screen is shown yet; the launch goes on without one.

bool LauncherApp::StartSplash()
{
    return true;
}

void LauncherApp::CloseSplashWindow()
{
}
