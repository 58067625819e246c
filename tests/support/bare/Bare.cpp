#include <windows.h>

// Does what every GUI program does before its own work (the thread locale,
// the window framework's first call) and ends.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    SetThreadLocale(GetSystemDefaultLCID());
    DefWindowProcW(nullptr, WM_NULL, 0, 0);
    return 0;
}
