#pragma once

// A folder of its own under the temporary folder for one test, removed with
// everything in it (long paths included) when the test ends.

#include <windows.h>

#include <string>

class TempFolder {
public:
    TempFolder()
    {
        wchar_t temp[MAX_PATH + 1];
        DWORD n = GetTempPathW(MAX_PATH + 1, temp);
        std::wstring base(temp, n);
        if (!base.empty() && base.back() == L'\\')
            base.pop_back();
        static unsigned counter = 0;
        for (;;) {
            m_path = base + L"\\jl_base_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                     std::to_wstring(GetTickCount()) + L"_" + std::to_wstring(++counter);
            if (CreateDirectoryW(m_path.c_str(), nullptr))
                break;
        }
    }
    ~TempFolder() { RemoveTree(L"\\\\?\\" + m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, without a trailing backslash.
    const std::wstring& path() const { return m_path; }
    std::wstring operator/(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    static void RemoveTree(const std::wstring& folder)
    {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = data.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                std::wstring child = folder + L"\\" + name;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(child);
                else
                    DeleteFileW(child.c_str());
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::wstring m_path;
};

// Test helpers on plain Win32 calls, independent of the code under test.
inline bool FolderExists(const std::wstring& path)
{
    std::wstring p = path.size() >= MAX_PATH && path.compare(0, 4, L"\\\\?\\") != 0 ? L"\\\\?\\" + path : path;
    DWORD attributes = GetFileAttributesW(p.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
inline bool FileExists(const std::wstring& path)
{
    std::wstring p = path.size() >= MAX_PATH && path.compare(0, 4, L"\\\\?\\") != 0 ? L"\\\\?\\" + path : path;
    DWORD attributes = GetFileAttributesW(p.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
inline void CreateEmptyFile(const std::wstring& path)
{
    std::wstring p = path.size() >= MAX_PATH && path.compare(0, 4, L"\\\\?\\") != 0 ? L"\\\\?\\" + path : path;
    HANDLE h = CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
}

// Restores the current folder when the test ends.
class CurrentFolderScope {
public:
    explicit CurrentFolderScope(const std::wstring& folder)
    {
        DWORD n = GetCurrentDirectoryW(0, nullptr);
        m_saved.resize(n);
        m_saved.resize(GetCurrentDirectoryW(n, &m_saved[0]));
        SetCurrentDirectoryW(folder.c_str());
    }
    ~CurrentFolderScope() { SetCurrentDirectoryW(m_saved.c_str()); }

private:
    std::wstring m_saved;
};
