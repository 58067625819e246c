#pragma once

// End-to-end test harness: throw-away application folders holding a copy of
// the launcher, its INI file and stand-in Java runtimes; a runner that starts
// the launcher, answers its dialogs and message boxes and reports what it saw
// and its exit code; and registry keys that clean up after themselves.

#include "support/common/TestFiles.h"

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

// This build's folder as a Windows path (from JL_BUILD_DIR; without it, the
// nearest folder above the test executable that holds CMakeCache.txt).
std::wstring BuildDir();
// The other architecture's build folder (from JL_PEER_BUILD), empty when it is
// not configured or does not exist.
std::wstring PeerBuildDir();
// "/work/x" -> "Z:\work\x"; a path that already has a drive or is a UNC path
// is returned with its slashes turned into backslashes.
std::wstring ToWindowsPath(const std::wstring& path);

// A unique folder under the temporary folder, removed with everything in it
// when the object is destroyed (waiting a few seconds for a launcher that
// has only just ended to let go of its files).
class AppFolder {
public:
    AppFolder() = default;
    ~AppFolder();
    AppFolder(const AppFolder&) = delete;
    AppFolder& operator=(const AppFolder&) = delete;

    const std::wstring& Path() const { return m_folder.Path(); }  // no trailing backslash
    // Full path of the launcher copy (Path()\launcher.exe until CopyLauncher names another).
    std::wstring Launcher() const;
    // Copies the launcher (default: BuildDir()\bin\launcher.exe, or launcher64.exe in
    // a 64-bit build) to Path()\name; name may contain folders, which are created.
    void CopyLauncher(const std::wstring& name = L"launcher.exe", const std::wstring& from = L"");
    // Writes the launcher's INI file (its path up to and including the last "."
    // followed by "ini") as UTF-16LE with a byte-order mark. Lone "\n" become "\r\n".
    void WriteIni(const std::wstring& text);
    void WriteFile(const std::wstring& relative, const std::string& bytes);
    void CopyFile(const std::wstring& from, const std::wstring& relative);  // creates parent folders
    void MakeDir(const std::wstring& relative);                           // with parent folders
    // A runtime home under relative: <rel>\bin\java.dll and <rel>\bin\<vm>\jvm.dll
    // from the stand-in JVM variant "plain" or "helper" of this build (or of the
    // peer build when peer is true).
    void InstallRuntime(const std::wstring& relative, const std::wstring& vm = L"server",
                        const std::wstring& variant = L"plain", bool peer = false);
    std::wstring LogPath() const { return Path() + L"\\fakejvm.log"; }

private:
    TempFolder m_folder{L"jl-e2e-"};
    std::wstring m_launcher;
};

struct SeenWindow {
    HWND hwnd = nullptr;
    std::wstring title;
    std::wstring text;       // a message box's message text
    std::wstring className;
    bool isMessageBox = false;
    std::map<int, std::wstring> controlTexts;  // child control id -> text
    DWORD processId = 0;     // the launcher, or a process it started
};

struct LaunchOptions {
    std::vector<std::wstring> args;          // appended, quoted when empty or holding blanks
    // When non-empty, the command line is "\"<launcher>\" " + rawCommandTail (args are ignored).
    std::wstring rawCommandTail;
    std::map<std::wstring, std::wstring> env;  // set (or, with an empty value, removed) for the child
    std::wstring workingDir;                 // default: the app folder
    DWORD timeoutMs = 30000;
    // Called for each dialog or message box as it appears (after its text is
    // recorded); returns the id of the button to press. 0 presses nothing.
    // Default: IDOK when the dialog has such a button or is a message box
    // (IDCANCEL instead while that IDOK button is disabled), else its default
    // button.
    std::function<int(const SeenWindow&)> onWindow;
    // Called for each other window (a splash picture) as it appears.
    std::function<void(const SeenWindow&)> onOtherWindow;
    // The launcher's standard output and error are pipes whose bytes end up
    // in LaunchResult::out and err, its standard input one that is empty.
    bool capturePipes = false;
    // Extra creation flags (CREATE_NEW_PROCESS_GROUP).
    DWORD creationFlags = 0;
};

struct LaunchResult {
    DWORD exitCode = 0;
    bool timedOut = false;
    std::vector<SeenWindow> windows;  // every visible top-level window, in order of appearance
    std::string out, err;             // the bytes on the pipes of capturePipes
    std::vector<std::wstring> MessageTexts() const;
};

// Starts app.Launcher() and waits until it and every process it started have
// ended. The child gets JL_FAKEJVM_LOG=<app.LogPath()> unless options.env
// overrides it. After timeoutMs everything still running is killed, timedOut
// is set and a test failure is recorded.
LaunchResult RunLauncher(const AppFolder& app, const LaunchOptions& options = {});

// A launcher started without waiting for it, for tests that run several at
// once; unlike RunLauncher it answers no dialogs and follows no processes the
// launcher starts. Wait() gives its exit code; when it has not ended within
// options.timeoutMs of its start it is killed and a test failure recorded.
// Destroying it kills it if it still runs.
class StartedLauncher {
public:
    explicit StartedLauncher(const AppFolder& app, const LaunchOptions& options = {});
    ~StartedLauncher();
    StartedLauncher(const StartedLauncher&) = delete;
    StartedLauncher& operator=(const StartedLauncher&) = delete;

    DWORD Wait();
    bool HasEnded() const;
    DWORD ProcessId() const { return m_processId; }

private:
    HANDLE m_process = nullptr;
    DWORD m_processId = 0;
    ULONGLONG m_deadline = 0;
    std::string m_commandLine;
};

// A registry key created for a test (with any missing parent keys) and
// deleted again, together with every missing parent it created, on
// destruction. For a key that already existed only the values set through
// this object are removed.
class ScopedRegKey {
public:
    ScopedRegKey(HKEY root, std::wstring subkey, REGSAM view /* KEY_WOW64_32KEY or KEY_WOW64_64KEY */);
    ~ScopedRegKey();
    ScopedRegKey(const ScopedRegKey&) = delete;
    ScopedRegKey& operator=(const ScopedRegKey&) = delete;

    void SetString(const std::wstring& name, const std::wstring& value);
    void SetRaw(const std::wstring& name, DWORD type, const void* data, DWORD bytes);
    HKEY Get() const { return m_key; }

private:
    HKEY m_root;
    std::wstring m_subkey;
    REGSAM m_view;
    HKEY m_key = nullptr;
    std::wstring m_createdTop;  // highest key this object created, empty when none
    std::vector<std::wstring> m_valuesSet;
};
