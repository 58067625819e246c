#include "core/LaunchTrace.h"
#include "core/LauncherApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    StartLaunchTrace();
    int exitCode = -1;
    {
        LauncherApp app;
        SetThreadLocale(GetSystemDefaultLCID());
        DefWindowProcW(nullptr, WM_NULL, 0, 0);
        if (app.Initialize())
            exitCode = app.Run();
    }
    JL_TRACE("exit code %d", exitCode);
    return exitCode;
}
