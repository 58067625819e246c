#include "e2e/JvmE2eSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

JvmApp::JvmApp(const std::wstring& ini, const std::wstring& variant)
{
    folder.CopyLauncher();
    folder.InstallRuntime(L"jre", L"server", variant);
    folder.WriteIni(ini);
}

LaunchResult JvmApp::Run(LaunchOptions options)
{
    DeleteFileW(folder.LogPath().c_str());
    // No registry or JAVA_HOME runtime may win over the bundled one.
    if (options.env.find(L"JAVA_HOME") == options.env.end())
        options.env[L"JAVA_HOME"] = L"";
    return RunLauncher(folder, options);
}

bool PeerBuildRuns()
{
    std::wstring peer = PeerBuildDir();
    if (peer.empty())
        return false;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::wstring bare = peer + L"\\bare\\bare.exe";
    if (!CreateProcessW(bare.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, 30000);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return exitCode == 0;
}

std::vector<std::wstring> UserOptions(const FakeJvmLog& log)
{
    std::vector<std::wstring> options = log.Values(L"option");
    EXPECT_GE(options.size(), 2u);
    if (options.size() >= 2) {
        EXPECT_EQ(L"abort", options[options.size() - 2]);
        EXPECT_EQ(L"exit", options.back());
        options.resize(options.size() - 2);
    }
    return options;
}

std::string ReadText(const std::wstring& path)
{
    if (!FileExists(path))
        return "<missing>";
    std::string bytes = ReadBytes(path);
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '\r'), bytes.end());
    return bytes;
}

std::string Show(const std::wstring& text)
{
    std::string shown;
    for (wchar_t c : text) {
        if (c >= 32 && c < 127) {
            shown += static_cast<char>(c);
        } else {
            char code[8];
            std::snprintf(code, sizeof(code), "\\u%04X", static_cast<unsigned>(c));
            shown += code;
        }
    }
    return shown;
}

std::string Show(const std::vector<std::wstring>& texts)
{
    std::string shown;
    for (const std::wstring& text : texts)
        shown += "[" + Show(text) + "] ";
    return shown.empty() ? "(none)" : shown;
}
