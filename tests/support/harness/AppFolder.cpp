#include "support/harness/Harness.h"

#include <gtest/gtest.h>

namespace {

std::wstring ParentOf(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
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
    std::wstring fromEnv = EnvironmentVariable(L"JL_BUILD_DIR");
    if (!fromEnv.empty())
        return ToWindowsPath(fromEnv);
    // Started by hand: the build folder is the nearest one above the test
    // executable that holds CMakeCache.txt.
    for (std::wstring folder = ExeFolder(); !folder.empty(); folder = ParentOf(folder)) {
        if (FileExists(folder + L"\\CMakeCache.txt"))
            return folder;
    }
    ADD_FAILURE() << "JL_BUILD_DIR is not set and no build folder contains this test";
    return std::wstring();
}

std::wstring PeerBuildDir()
{
    std::wstring fromEnv = EnvironmentVariable(L"JL_PEER_BUILD");
    if (fromEnv.empty())
        return std::wstring();
    std::wstring path = ToWindowsPath(fromEnv);
    return FolderExists(path) ? path : std::wstring();
}

AppFolder::~AppFolder()
{
    // A launcher that has only just ended may still hold its files for a moment.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (RemoveTree(Path()))
            return;
        Sleep(100);
    }
    ADD_FAILURE() << "cannot remove " << Narrow(Path());
}

std::wstring AppFolder::Launcher() const
{
    return m_launcher.empty() ? Path() + L"\\launcher.exe" : m_launcher;
}

void AppFolder::CopyLauncher(const std::wstring& name, const std::wstring& from)
{
    std::wstring source = from;
    if (source.empty())
        source = BuildDir() + (sizeof(void*) == 8 ? L"\\bin\\launcher64.exe" : L"\\bin\\launcher.exe");
    CopyFile(source, name);
    m_launcher = Path() + L"\\" + name;
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
    if (iniPath.compare(0, Path().size() + 1, Path() + L"\\") != 0) {
        ADD_FAILURE() << "the INI file " << Narrow(iniPath) << " would lie outside the app folder";
        return;
    }
    WriteFile(iniPath.substr(Path().size() + 1), bytes);
}

void AppFolder::WriteFile(const std::wstring& relative, const std::string& bytes)
{
    WriteBytes(Path() + L"\\" + relative, bytes);
}

void AppFolder::CopyFile(const std::wstring& from, const std::wstring& relative)
{
    std::wstring path = Path() + L"\\" + relative;
    if (!MakeDirs(ParentOf(path)))
        return;
    if (!::CopyFileW(from.c_str(), path.c_str(), FALSE)) {
        DWORD error = GetLastError();
        ADD_FAILURE() << "cannot copy " << Narrow(from) << " to " << Narrow(path) << " (error " << error << ")";
    }
}

void AppFolder::MakeDir(const std::wstring& relative)
{
    MakeDirs(Path() + L"\\" + relative);
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
