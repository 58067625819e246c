#pragma once

#include <windows.h>

// An export of a DLL of the system folder, for the few calls that only some
// launches make (the shell's folder browser, opening a link): the DLL is not
// imported, so a launch that never needs it does not pay for loading it. It
// is loaded from the system folder only, on first use, and stays loaded for
// the rest of the process, since what it hands out (shell threads, COM
// objects) may outlive the call. Null when the DLL or the export is missing.
FARPROC GetSystemExport(const wchar_t* library, const char* name);

template <typename Function>
Function GetSystemFunction(const wchar_t* library, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetSystemExport(library, name)));
}
