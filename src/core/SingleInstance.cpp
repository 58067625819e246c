#include "core/LauncherApp.h"

// Single-instance mode is not available yet: every start prepares and runs
// its own VM, and no start waits for another.

bool LauncherApp::SetUpSingleInstance()
{
    m_singleInstance = false;
    return true;
}

int LauncherApp::WaitAsSecondInstance()
{
    return 0;
}
