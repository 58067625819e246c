#pragma once

#include "core/Messages.h"

#include <windows.h>

#include <string>
#include <vector>

// Message boxes of the code under test, captured instead of shown.
class CapturedMessages {
public:
    CapturedMessages() { m_previous = SetMessageBoxFunction(&Capture); Texts().clear(); }
    ~CapturedMessages() { SetMessageBoxFunction(m_previous); }
    const std::vector<std::wstring>& Seen() const { return Texts(); }

private:
    static std::vector<std::wstring>& Texts()
    {
        static std::vector<std::wstring> texts;
        return texts;
    }
    static int Capture(HWND, const wchar_t* text, const wchar_t*, UINT)
    {
        Texts().push_back(text ? text : L"");
        return IDOK;
    }
    MessageBoxFunction m_previous;
};

// A unique folder, removed with everything in it at the end.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& parent = L"")
    {
        std::wstring base = parent;
        if (base.empty()) {
            wchar_t temp[MAX_PATH + 1];
            DWORD n = GetTempPathW(MAX_PATH + 1, temp);
            base.assign(temp, n);
        }
        if (!base.empty() && base.back() != L'\\')
            base += L'\\';
        static int counter = 0;
        m_path = base + L"jvmtest_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                 std::to_wstring(GetTickCount()) + L"_" + std::to_wstring(++counter);
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~TempFolder() { RemoveTree(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    // Creates the file (and its folders) with a little content.
    void File(const std::wstring& relative) const
    {
        std::wstring full = m_path + L"\\" + relative;
        Folder(relative.substr(0, relative.rfind(L'\\') == std::wstring::npos ? 0 : relative.rfind(L'\\')));
        HANDLE h = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(h, "PK", 2, &written, nullptr);
            CloseHandle(h);
        }
    }
    void Folder(const std::wstring& relative) const
    {
        std::wstring full = m_path;
        size_t start = 0;
        while (start < relative.size()) {
            size_t end = relative.find(L'\\', start);
            if (end == std::wstring::npos)
                end = relative.size();
            full += L"\\" + relative.substr(start, end - start);
            CreateDirectoryW(full.c_str(), nullptr);
            start = end + 1;
        }
    }

    static void RemoveTree(const std::wstring& path)
    {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = data.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                std::wstring child = path + L"\\" + name;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(child);
                else
                    DeleteFileW(child.c_str());
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(path.c_str());
    }

private:
    std::wstring m_path;
};

// Sets an environment variable for one scope and restores the old state.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const wchar_t* value) : m_name(name)
    {
        DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
        m_existed = n != 0;
        if (m_existed) {
            m_old.resize(n);
            m_old.resize(GetEnvironmentVariableW(name, &m_old[0], n));
        }
        SetEnvironmentVariableW(name, value);
    }
    ~ScopedVariable() { SetEnvironmentVariableW(m_name.c_str(), m_existed ? m_old.c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::wstring m_name;
    std::wstring m_old;
    bool m_existed = false;
};

inline std::wstring Variable(const wchar_t* name)
{
    DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0)
        return L"<unset>";
    std::wstring value(n, L'\0');
    value.resize(GetEnvironmentVariableW(name, &value[0], n));
    return value;
}

inline std::wstring ModuleFolder()
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    return s.substr(0, s.rfind(L'\\'));
}
