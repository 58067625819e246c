#pragma once

// File-system and environment helpers for tests, on plain Win32 calls so
// that they do not depend on the code under test: temporary folders removed
// with everything in them, folder chains, whole-file writes and reads, exists
// checks, and scopes that restore an environment variable or the current
// folder.
//
// Paths too long for the classic file calls are passed to them in their
// extended-length form ("\\?\C:\..."), so tests can build and clean up trees
// beyond MAX_PATH with the same helpers.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>

// UTF-8 for failure messages.
inline std::string Narrow(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string result(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &result[0], size, nullptr,
                            nullptr);
    return result;
}

// The extended-length form of path, made absolute first ("\\?\C:\..." or
// "\\?\UNC\server\share\..."). A path already in that form is returned as it
// is; so is one the system cannot make absolute.
inline std::wstring ExtendedPath(const std::wstring& path)
{
    if (path.compare(0, 4, L"\\\\?\\") == 0)
        return path;
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::wstring full(size, L'\0');
    size = GetFullPathNameW(path.c_str(), size, &full[0], nullptr);
    if (size == 0 || size >= full.size())
        return path;
    full.resize(size);
    if (full.compare(0, 2, L"\\\\") == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// path as the file calls take it: in extended-length form once it is too long
// to name a folder the classic way (MAX_PATH less room for an 8.3 name), as
// it is otherwise.
inline std::wstring FileCallPath(const std::wstring& path)
{
    return path.size() < MAX_PATH - 12 ? path : ExtendedPath(path);
}

// Whether anything, file or folder, is at path.
inline bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(FileCallPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool FileExists(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(FileCallPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline bool FolderExists(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(FileCallPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace test_files_detail {

// How much of path is its root: "C:\", "\\?\C:\", "\\server\share\",
// "\\?\UNC\server\share\" or "\"; 0 for a relative path.
inline size_t RootLength(const std::wstring& path)
{
    size_t at = 0;
    bool unc = false;
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0) {
        at = 8;
        unc = true;
    } else if (path.compare(0, 4, L"\\\\?\\") == 0) {
        at = 4;
    } else if (path.compare(0, 2, L"\\\\") == 0) {
        at = 2;
        unc = true;
    }
    if (unc) {
        size_t share = path.find_first_of(L"\\/", at);
        size_t end = share == std::wstring::npos ? share : path.find_first_of(L"\\/", share + 1);
        return end == std::wstring::npos ? path.size() : end + 1;
    }
    if (path.size() >= at + 2 && path[at + 1] == L':')
        at += 2;
    if (at < path.size() && (path[at] == L'\\' || path[at] == L'/'))
        ++at;
    return at;
}

}  // namespace test_files_detail

// Creates every missing folder of path. Records a test failure and returns
// false when path is no folder afterwards.
inline bool MakeDirs(const std::wstring& path)
{
    // Every prefix below the root that ends before a separator, then path itself.
    size_t from = test_files_detail::RootLength(path);
    for (size_t end = path.find_first_of(L"\\/", from);; end = path.find_first_of(L"\\/", end + 1)) {
        std::wstring part = path.substr(0, end);
        if (!FolderExists(part))
            CreateDirectoryW(FileCallPath(part).c_str(), nullptr);
        if (end == std::wstring::npos)
            break;
    }
    if (FolderExists(path))
        return true;
    ADD_FAILURE() << "cannot create the folder " << Narrow(path);
    return false;
}

// Writes bytes to path (replacing the file), creating its folders first.
// Records a test failure and returns false when that does not work.
inline bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    size_t slash = path.find_last_of(L"\\/");
    if (slash != std::wstring::npos && slash > 0 && !MakeDirs(path.substr(0, slash)))
        return false;
    HANDLE file = CreateFileW(FileCallPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        ADD_FAILURE() << "cannot create " << Narrow(path) << " (error " << error << ")";
        return false;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (ok && written == bytes.size())
        return true;
    ADD_FAILURE() << "cannot write " << Narrow(path);
    return false;
}

// The whole content of the file at path; empty when it cannot be read.
inline std::string ReadBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(FileCallPath(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

namespace test_files_detail {

// folder is in extended-length form, so nothing below it is too long.
inline bool RemoveTreeAt(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = folder + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                SetFileAttributesW(child.c_str(), data.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW(child.c_str());
            else if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                RemoveDirectoryW(child.c_str());  // a link: what it points to is not ours
            else
                RemoveTreeAt(child);
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    if (RemoveDirectoryW(folder.c_str()))
        return true;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace test_files_detail

// Removes the folder at path with everything in it, read-only files and
// paths beyond MAX_PATH included. True when the folder is gone (or was never
// there); false while something in it cannot be removed yet.
inline bool RemoveTree(const std::wstring& path)
{
    std::wstring folder = ExtendedPath(path);
    while (folder.size() > 4 && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.pop_back();
    DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(folder.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return test_files_detail::RemoveTreeAt(folder);
}

// A new folder of its own, <parent>\<prefix><process>-<ticks>-<n> (parent:
// the temporary folder unless given), removed with everything in it when the
// object ends.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& prefix = L"jl-test-", const std::wstring& parent = std::wstring())
    {
        std::wstring base = parent;
        if (base.empty()) {
            wchar_t temp[MAX_PATH + 1];
            base.assign(temp, GetTempPathW(MAX_PATH + 1, temp));
        }
        if (!base.empty() && base.back() == L'\\')
            base.pop_back();
        static std::atomic<unsigned> counter{0};
        for (int attempt = 0;; ++attempt) {
            m_path = base + L"\\" + prefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
                     std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter);
            if (CreateDirectoryW(FileCallPath(m_path).c_str(), nullptr))
                break;
            DWORD error = GetLastError();
            if (error != ERROR_ALREADY_EXISTS || attempt == 1000) {
                ADD_FAILURE() << "cannot create a temporary folder " << Narrow(m_path) << " (error " << error
                              << ")";
                break;
            }
        }
    }
    ~TempFolder() { RemoveTree(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's full path, without a trailing backslash.
    const std::wstring& Path() const { return m_path; }
    // Path() + "\" + relative.
    std::wstring operator/(const std::wstring& relative) const { return m_path + L"\\" + relative; }

private:
    std::wstring m_path;
};

// The value of an environment variable of this process; empty when it is
// not set.
inline std::wstring EnvironmentVariable(const wchar_t* name)
{
    DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return std::wstring();
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, &value[0], size));
    return value;
}

// Sets (or, with a null value, removes) an environment variable of this
// process for one scope, and restores the earlier state at its end.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const wchar_t* value) : m_name(name)
    {
        DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
        m_existed = size != 0;
        if (m_existed) {
            m_old.resize(size);
            m_old.resize(GetEnvironmentVariableW(name, &m_old[0], size));
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

// Makes folder the current folder for one scope and restores the earlier
// one at its end.
class CurrentFolderScope {
public:
    explicit CurrentFolderScope(const std::wstring& folder)
    {
        DWORD size = GetCurrentDirectoryW(0, nullptr);
        m_saved.resize(size);
        m_saved.resize(GetCurrentDirectoryW(size, &m_saved[0]));
        SetCurrentDirectoryW(folder.c_str());
    }
    ~CurrentFolderScope() { SetCurrentDirectoryW(m_saved.c_str()); }
    CurrentFolderScope(const CurrentFolderScope&) = delete;
    CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;

private:
    std::wstring m_saved;
};

// The folder of this test program, without a trailing backslash.
inline std::wstring ExeFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/"));
}
