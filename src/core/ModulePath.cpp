#include "core/ModulePath.h"

#include "core/LauncherApp.h"
#include "core/Messages.h"
#include "res/resource.h"

String GetModulePath()
{
    String path;
    wchar_t* buffer = path.GetBuffer(MAX_PATH);
    DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    DWORD error = GetLastError();
    if (length == 0) {
        path.SetLength(0);
        LauncherApp* app = LauncherApp::Instance();
        ShowSystemError(app ? app->m_hSplashWnd : nullptr, TextId(IDS_WINDOWS_ERROR),
                        LoadResourceString(IDS_MODULE_PATH_FAILED).CStr(), error);
        return path;
    }
    path.SetLength(length < MAX_PATH ? static_cast<int>(length) : MAX_PATH);
    path.SetLengthToTerminator();
    return path;
}

String GetModuleDirectory()
{
    String path = GetModulePath();
    int slash = path.ReverseFind(L'\\');
    path.Truncate(slash + 1);
    return path;
}
