#include "support/harness/Harness.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

std::wstring GetEnv(const wchar_t* name)
{
    DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return std::wstring();
    std::wstring value(size, L'\0');
    size = GetEnvironmentVariableW(name, &value[0], size);
    value.resize(size);
    return value;
}

bool IsDirectory(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ParentOf(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

void CreateFolders(const std::wstring& path)
{
    if (path.empty() || IsDirectory(path))
        return;
    CreateFolders(ParentOf(path));
    if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        ADD_FAILURE() << "cannot create folder " << std::string(path.begin(), path.end());
}

std::string Narrow(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                   nullptr, nullptr);
    std::string result(size, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &result[0], size,
                            nullptr, nullptr);
    return result;
}

bool RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                SetFileAttributesW(child.c_str(), data.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    return RemoveDirectoryW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
           GetLastError() == ERROR_PATH_NOT_FOUND;
}

std::wstring ModuleDirectory()
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
    return ParentOf(path);
}

}  // namespace

std::wstring ToWindowsPath(const std::wstring& path)
{
    std::wstring result = path;
    for (wchar_t& c : result) {
        if (c == L'/')
            c = L'\\';
    }
    bool hasDrive = result.size() >= 2 && result[1] == L':';
    bool isUnc = result.compare(0, 2, L"\\\\") == 0;
    if (!hasDrive && !isUnc && !result.empty() && result[0] == L'\\')
        result = L"Z:" + result;
    while (result.size() > 3 && result.back() == L'\\')
        result.pop_back();
    return result;
}

std::wstring BuildDir()
{
    std::wstring fromEnv = GetEnv(L"JL_BUILD_DIR");
    if (!fromEnv.empty())
        return ToWindowsPath(fromEnv);
    // Started by hand: the build folder is the nearest one above the test
    // executable that holds CMakeCache.txt.
    for (std::wstring folder = ModuleDirectory(); !folder.empty(); folder = ParentOf(folder)) {
        if (IsFile(folder + L"\\CMakeCache.txt"))
            return folder;
    }
    ADD_FAILURE() << "JL_BUILD_DIR is not set and no build folder contains this test";
    return std::wstring();
}

std::wstring PeerBuildDir()
{
    std::wstring fromEnv = GetEnv(L"JL_PEER_BUILD");
    if (fromEnv.empty())
        return std::wstring();
    std::wstring path = ToWindowsPath(fromEnv);
    return IsDirectory(path) ? path : std::wstring();
}

AppFolder::AppFolder()
{
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    std::wstring base(temp, length);
    if (!base.empty() && base.back() == L'\\')
        base.pop_back();
    for (;;) {
        std::wstring candidate = base + L"\\jl-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(++counter);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            m_path = candidate;
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "cannot create a temporary folder under " << Narrow(base);
            break;
        }
    }
}

AppFolder::~AppFolder()
{
    if (m_path.empty())
        return;
    // A launcher that has only just ended may still hold its files for a moment.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (RemoveTree(m_path))
            return;
        Sleep(100);
    }
    ADD_FAILURE() << "cannot remove " << Narrow(m_path);
}

std::wstring AppFolder::Launcher() const
{
    return m_launcher.empty() ? m_path + L"\\launcher.exe" : m_launcher;
}

void AppFolder::CopyLauncher(const std::wstring& name, const std::wstring& from)
{
    std::wstring source = from;
    if (source.empty())
        source = BuildDir() + (sizeof(void*) == 8 ? L"\\bin\\launcher64.exe" : L"\\bin\\launcher.exe");
    CopyFile(source, name);
    m_launcher = m_path + L"\\" + name;
}

void AppFolder::WriteIni(const std::wstring& text)
{
    std::wstring launcher = Launcher();
    size_t dot = launcher.rfind(L'.');
    if (dot == std::wstring::npos) {
        ADD_FAILURE() << "the launcher path " << Narrow(launcher) << " has no '.', so it has no INI file";
        return;
    }
    std::wstring content = L"\xFEFF";
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r'))
            content += L'\r';
        content += text[i];
    }
    std::string bytes;
    for (wchar_t c : content) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    std::wstring iniPath = launcher.substr(0, dot + 1) + L"ini";
    // The INI file may lie outside the app folder only when the launcher's folder name has a dot
    // and the launcher's name has none; it must then still be inside it.
    if (iniPath.compare(0, m_path.size() + 1, m_path + L"\\") != 0) {
        ADD_FAILURE() << "the INI file " << Narrow(iniPath) << " would lie outside the app folder";
        return;
    }
    WriteFile(iniPath.substr(m_path.size() + 1), bytes);
}

void AppFolder::WriteFile(const std::wstring& relative, const std::string& bytes)
{
    std::wstring path = m_path + L"\\" + relative;
    CreateFolders(ParentOf(path));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot create " << Narrow(path) << " (error " << GetLastError() << ")";
        return;
    }
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    EXPECT_TRUE(ok && written == bytes.size()) << "cannot write " << Narrow(path);
}

void AppFolder::CopyFile(const std::wstring& from, const std::wstring& relative)
{
    std::wstring path = m_path + L"\\" + relative;
    CreateFolders(ParentOf(path));
    if (!::CopyFileW(from.c_str(), path.c_str(), FALSE))
        ADD_FAILURE() << "cannot copy " << Narrow(from) << " to " << Narrow(path) << " (error "
                      << GetLastError() << ")";
}

void AppFolder::MakeDir(const std::wstring& relative)
{
    CreateFolders(m_path + L"\\" + relative);
}

void AppFolder::InstallRuntime(const std::wstring& relative, const std::wstring& vm, const std::wstring& variant,
                               bool peer)
{
    std::wstring build = peer ? PeerBuildDir() : BuildDir();
    if (build.empty()) {
        ADD_FAILURE() << "no peer build to take a runtime from (JL_PEER_BUILD)";
        return;
    }
    std::wstring fakeJvm = build + L"\\fakejvm\\";
    CopyFile(fakeJvm + L"java.dll", relative + L"\\bin\\java.dll");
    CopyFile(fakeJvm + variant + L"\\jvm.dll", relative + L"\\bin\\" + vm + L"\\jvm.dll");
}
