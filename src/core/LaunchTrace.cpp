#include "core/LaunchTrace.h"

#include "base/Paths.h"
#include "core/LauncherVersion.h"

#include <windows.h>

void StartLaunchTrace()
{
    StartTrace();
    if (!g_traceOn)
        return;
    // Read directly: a failure must not show the module-path message here.
    String module;
    DWORD length = GetModuleFileNameW(nullptr, module.GetBuffer(32767), 32768);
    module.SetLength(length <= 32767 ? static_cast<int>(length) : 0);
    TraceLine("launcher %s, version %s, %d-bit", module.CStr(), JL_LAUNCHER_VERSION,
              static_cast<int>(sizeof(void*) * 8));
    SYSTEMTIME now;
    GetLocalTime(&now);
    TraceLine("started %d-%s%d-%s%d %s%d:%s%d:%s%d local time", now.wYear, now.wMonth < 10 ? L"0" : L"", now.wMonth,
              now.wDay < 10 ? L"0" : L"", now.wDay, now.wHour < 10 ? L"0" : L"", now.wHour,
              now.wMinute < 10 ? L"0" : L"", now.wMinute, now.wSecond < 10 ? L"0" : L"", now.wSecond);
    TraceLine("command line: %s", GetCommandLineW());
}

const wchar_t* SettingsFileState(const String& path)
{
    return AbsolutePathExists(path) ? L"read" : L"not found, its keys take their defaults";
}
