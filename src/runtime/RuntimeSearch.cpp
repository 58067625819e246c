#include "core/LauncherApp.h"

bool LauncherApp::FindRuntime()
{
    return false;
}

void LauncherApp::CheckRuntimeArchitecture()
{
    m_launchPair = false;
}
