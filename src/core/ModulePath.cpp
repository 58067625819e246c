#include "core/ModulePath.h"

#include "core/LauncherApp.h"
#include "core/Messages.h"
#include "res/resource.h"
#include "settings/GrowingBuffer.h"

String ReadModuleFilePath(HMODULE module, DWORD& error)
{
    String path;
    error = ERROR_SUCCESS;
    // A path that does not fit comes back cut to the buffer's size, so the
    // buffer grows until the whole path fits.
    int length = ReadIntoGrowingBuffer(path, MAX_PATH, 0, [&](wchar_t* buffer, int size) {
        DWORD written = GetModuleFileNameW(module, buffer, static_cast<DWORD>(size));
        error = GetLastError();
        return static_cast<int>(written);
    });
    path.SetLength(length);
    path.SetLengthToTerminator();
    return path;
}

String GetModulePath()
{
    DWORD error = ERROR_SUCCESS;
    String path = ReadModuleFilePath(nullptr, error);
    if (path.IsEmpty()) {
        LauncherApp* app = LauncherApp::Instance();
        ShowSystemError(app ? app->m_hSplashWnd : nullptr, TextId(IDS_WINDOWS_ERROR),
                        LoadResourceString(IDS_MODULE_PATH_FAILED).CStr(), error);
    }
    return path;
}

String GetModuleDirectory()
{
    String path = GetModulePath();
    int slash = path.ReverseFind(L'\\');
    path.Truncate(slash + 1);
    return path;
}
