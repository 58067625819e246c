#pragma once

// Real files for the settings tests: temporary folders, UTF-16 INI files,
// environment variables restored on scope exit and captured message boxes.

#include "base/Text.h"
#include "core/Messages.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace settings_test {

inline std::wstring Str(const String& s)
{
    return std::wstring(s.CStr(), s.Length());
}

// A unique folder under the temp path, removed with its content.
class TempFolder {
public:
    TempFolder()
    {
        wchar_t temp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, temp);
        static int counter = 0;
        m_path = std::wstring(temp) + L"jl-settings-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter);
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(m_path), ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring operator/(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

inline void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::wstring& path)
{
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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

inline bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Sets (or, with null, removes) an environment variable of this process and
// restores the old value on destruction.
class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const wchar_t* value) : m_name(name)
    {
        DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
        if (size > 0) {
            std::vector<wchar_t> old(size);
            GetEnvironmentVariableW(name, old.data(), size);
            m_old = old.data();
            m_hadOld = true;
        }
        SetEnvironmentVariableW(name, value);
    }
    ~ScopedEnvironment() { SetEnvironmentVariableW(m_name.c_str(), m_hadOld ? m_old.c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::wstring m_name;
    std::wstring m_old;
    bool m_hadOld = false;
};

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
