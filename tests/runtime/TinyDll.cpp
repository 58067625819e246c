// A DLL that does nothing: a real image of this build's machine type for the
// architecture check.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
