#pragma once

#include "support/fakejvm/FakeJvmLog.h"
#include "support/harness/Harness.h"

#include <string>
#include <vector>

// Exit code of a launch that failed (-1).
constexpr DWORD kLaunchFailed = 0xFFFFFFFF;

// An application folder with the launcher, its bundled stand-in runtime in
// "jre" and an INI file made of the given lines.
struct JvmApp {
    AppFolder folder;

    explicit JvmApp(const std::wstring& ini, const std::wstring& variant = L"plain");
    std::wstring Path() const { return folder.Path(); }
    std::wstring JvmDll() const { return folder.Path() + L"\\jre\\bin\\server\\jvm.dll"; }
    // Runs the launcher with the given options (the runtime log cleared first)
    // and reads the log afterwards.
    LaunchResult Run(LaunchOptions options = {});
    FakeJvmLog Log() const { return FakeJvmLog::Read(folder.LogPath()); }
};

// Whether programs of the other architecture's build can run on this machine.
bool PeerBuildRuns();

// Options passed to the VM, without the two hooks at the end.
std::vector<std::wstring> UserOptions(const FakeJvmLog& log);

// A text file's bytes with the carriage returns left out; "<missing>" when
// the file does not exist.
std::string ReadText(const std::wstring& path);

// Readable form of texts for failure output (non-ASCII as \uXXXX).
std::string Show(const std::vector<std::wstring>& texts);
std::string Show(const std::wstring& text);
