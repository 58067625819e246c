#pragma once

// Real files for the settings tests: UTF-16 INI files and captured message
// boxes; temporary folders and environment scopes come from TestFiles.h.

#include "base/Text.h"
#include "core/Messages.h"
#include "support/common/TestFiles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace settings_test {

inline std::wstring Str(const String& s)
{
    return std::wstring(s.CStr(), s.Length());
}

// Writes text as UTF-16LE with a byte-order mark. Each file gets a distinct
// last-write time, so the system's INI cache never serves an older version
// of a file rewritten within one clock tick.
inline void WriteIni(const std::wstring& path, const std::wstring& text)
{
    std::string bytes("\xFF\xFE", 2);
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    WriteBytes(path, bytes);
    static ULONGLONG step = 0;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t;
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart += (++step) * 10000000ULL;
    FILETIME unique = {t.LowPart, t.HighPart};
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        SetFileTime(file, nullptr, nullptr, &unique);
        CloseHandle(file);
    }
}

// Message boxes are recorded instead of shown while an instance lives.
class MessageCapture {
public:
    MessageCapture() { m_previous = SetMessageBoxFunction(&Record); Texts().clear(); }
    ~MessageCapture() { SetMessageBoxFunction(m_previous); }
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    static std::vector<std::wstring>& Texts()
    {
        static std::vector<std::wstring> texts;
        return texts;
    }

private:
    static int Record(HWND, const wchar_t* text, const wchar_t*, UINT)
    {
        Texts().push_back(text ? text : L"");
        return IDOK;
    }
    MessageBoxFunction m_previous;
};

// The running test executable's path (what the launcher code sees as its
// module path) and its settings file beside it.
inline std::wstring ExecutablePath()
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, n);
}

inline std::wstring ExecutableSettingsPath()
{
    std::wstring path = ExecutablePath();
    return path.substr(0, path.rfind(L'.') + 1) + L"ini";
}

inline std::wstring ExecutableFolder()
{
    std::wstring path = ExecutablePath();
    return path.substr(0, path.rfind(L'\\'));
}

inline std::wstring ExecutableBaseName()
{
    std::wstring path = ExecutablePath();
    std::wstring name = path.substr(path.rfind(L'\\') + 1);
    return name.substr(0, name.rfind(L'.'));
}

}  // namespace settings_test
