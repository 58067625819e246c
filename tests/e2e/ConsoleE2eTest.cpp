// The console launcher seen from a caller that gives it pipes: the Java
// program's streams are the caller's, messages arrive on standard error as
// lines, no window appears, and the exit code is the program's.

#include "e2e/LaunchModesE2eSupport.h"

#include <gtest/gtest.h>

#include <future>

namespace {

const bool k32 = sizeof(void*) == 4;
const std::wstring kConsoleLauncher = k32 ? L"launcherc.exe" : L"launcherc64.exe";
const std::wstring kPeerConsoleLauncher = k32 ? L"launcherc64.exe" : L"launcherc.exe";
const std::wstring kGuiLauncher = k32 ? L"launcher.exe" : L"launcher64.exe";
const std::string kNoRuntime = "The Java Runtime Environment (JRE) tidak ditemukan. Silakan download dan instal JRE "
                               "(versi terbaru) dari: https://www.java.com/download/\r\n";
const std::wstring kMixRefused = L"Penyerahan ke launcher pasangan ditolak: launcher konsol dan launcher GUI tidak "
                                 L"dapat saling menyerahkan peluncuran karena aliran standar akan hilang: ";

std::wstring Ini(const std::wstring& mainClass, const std::wstring& more = L"")
{
    return L"[Java Runtime Environment]\nMain Class=" + mainClass + L"\nJRE Path=jre\n"
           L"[Class Path]\nClass Path=C:\\app.jar\n" + more;
}

// tool.exe (the console launcher of this build) in an application folder.
class ConsoleE2e : public testing::Test {
protected:
    void SetUp() override { m_app.CopyLauncher(L"tool.exe", BuildDir() + L"\\bin\\" + kConsoleLauncher); }
    LaunchResult Launch(const std::vector<std::wstring>& args = {}, LaunchOptions options = {})
    {
        DeleteFileW(m_app.LogPath().c_str());
        options.args = args;
        options.capturePipes = true;
        options.env[L"JAVA_HOME"] = L"";
        options.env[L"APPDATA"] = m_app.Path() + L"\\appdata";
        return RunLauncher(m_app, options);
    }
    FakeJvmLog Log() const { return FakeJvmLog::Read(m_app.LogPath()); }

    AppFolder m_app;
};

TEST_F(ConsoleE2e, ProgramWritesToTheCallersPipesAndDecidesTheExitCode)
{
    m_app.InstallRuntime(L"jre");
    const std::string uncaught = "Exception in thread \"main\" java.lang.IllegalStateException: boom\n"
                                 "\tat test.Throws.main(Main.java)\n";
    struct Row {
        std::wstring ini;
        std::vector<std::wstring> args;
        DWORD exitCode;
        std::string out, err;
    } rows[] = {
        {Ini(L"test.PrintOut"), {L"a", L"b c", L"\u00fcber \u65e5\u672c"}, 0,
         "out:a\r\nout:b c\r\nout:" + Narrow(L"\u00fcber \u65e5\u672c") + "\r\n",
         "err:a\r\nerr:b c\r\nerr:" + Narrow(L"\u00fcber \u65e5\u672c") + "\r\n"},
        {Ini(L"test.Exit"), {L"42"}, 42, "", ""},
        {Ini(L"test.Exit"), {L"0"}, 0, "", ""},
        // No dialog and no splash, whatever the settings ask for.
        {Ini(L"test.Throws", L"[Application]\nFailure Check=Yes\n[Display]\nSplash Screen=missing.png\n"), {}, 1, "",
         uncaught},
        {Ini(L"test.Throws"), {}, 1, "", uncaught},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Narrow(row.ini));
        m_app.WriteIni(row.ini);
        LaunchResult result = Launch(row.args);
        EXPECT_EQ(row.exitCode, result.exitCode);
        EXPECT_EQ(row.out, result.out);
        EXPECT_EQ(row.err, result.err);
        EXPECT_TRUE(result.windows.empty()) << result.windows.size() << " windows";
    }
}

// The launcher's own messages: one line each on standard error, no message
// box, no runtime dialog.
TEST_F(ConsoleE2e, MessagesAreLinesOnStandardError)
{
    struct Row {
        std::wstring ini;
        bool runtime;
        std::string err;
    } rows[] = {
        {Ini(L"test.RecordArgs"), false, kNoRuntime},
        {Ini(L"test.RecordArgs", L"[Java Runtime Environment+]\nDownload URL=https://example.org/jre\n"), false,
         kNoRuntime.substr(0, kNoRuntime.find("https:")) + "https://example.org/jre\r\n"},
        {L"[Class Path]\nClass Path=C:\\app.jar\n", true, "Main class tidak ditetapkan di file INI.\r\n"},
        {L"[Java Runtime Environment]\nMain Class=test.RecordArgs\nJRE Path=jre\n", true,
         "Java Class Path tidak ditetapkan di file INI.\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Narrow(row.ini));
        if (row.runtime)
            m_app.InstallRuntime(L"jre");
        m_app.WriteIni(row.ini);
        LaunchResult result = Launch({L"x"});
        EXPECT_EQ(kLaunchFailed, result.exitCode);
        EXPECT_EQ(row.err, result.err);
        EXPECT_EQ("", result.out);
        EXPECT_TRUE(result.windows.empty()) << result.windows.size() << " windows";
        EXPECT_FALSE(Log().Has(L"create"));
    }
}

// A runtime of the other machine type goes to the paired console launcher,
// which writes to the same pipes and whose exit code comes back: this build's
// console launcher as the pair, and the other build's where it can run.
TEST_F(ConsoleE2e, HandOverKeepsThePipesAndTheExitCode)
{
    if (PeerBuildDir().empty())
        GTEST_SKIP() << "the other architecture's build is needed";
    m_app.InstallRuntime(L"jre", L"server", L"plain", true);
    m_app.WriteIni(Ini(L"test.PrintOut", L"[Application]\nPair Product=pair\\tool.exe\nPair Return Code=Yes\n"));
    for (bool otherBuild : {false, true}) {
        SCOPED_TRACE(otherBuild ? "other build's pair" : "this build's pair");
        if (otherBuild && !PeerBuildRuns())
            continue;
        std::wstring pair = otherBuild ? PeerBuildDir() + L"\\bin\\" + kPeerConsoleLauncher
                                       : BuildDir() + L"\\bin\\" + kConsoleLauncher;
        m_app.CopyFile(pair, L"pair\\tool.exe");
        m_app.InstallRuntime(L"pair\\jre", L"server", L"plain", otherBuild);
        for (const wchar_t* program : {L"test.PrintOut", L"test.Exit"}) {
            m_app.WriteFile(L"pair\\tool.ini", Narrow(L"[Java Runtime Environment]\r\nMain Class=" +
                                                      std::wstring(program) +
                                                      L"\r\nJRE Path=jre\r\n[Class Path]\r\nClass Path=C:\\app.jar\r\n"));
            LaunchResult result = Launch({L"7"});
            bool prints = program == std::wstring(L"test.PrintOut");
            EXPECT_EQ(prints ? 0u : 7u, result.exitCode);
            EXPECT_EQ(prints ? "out:7\r\n" : "", result.out);
            EXPECT_EQ(prints ? "err:7\r\n" : "", result.err);
            EXPECT_EQ(Texts{L"0"}, Log().Values(L"create")) << "only the pair makes a VM";
        }
    }
}

// A console launcher does not hand over to a GUI launcher, nor the other way
// round: the streams would be lost.
TEST_F(ConsoleE2e, GuiAndConsolePairsAreRefused)
{
    if (PeerBuildDir().empty())
        GTEST_SKIP() << "the other architecture's build is needed";
    m_app.InstallRuntime(L"jre", L"server", L"plain", true);
    m_app.CopyFile(BuildDir() + L"\\bin\\" + kGuiLauncher, L"pair\\gui.exe");
    m_app.WriteIni(Ini(L"test.PrintOut", L"[Application]\nPair Product=pair\\gui.exe\nPair Return Code=Yes\n"));
    LaunchResult console = Launch();
    EXPECT_EQ(kLaunchFailed, console.exitCode);
    EXPECT_EQ(Narrow(kMixRefused + m_app.Path() + L"\\pair\\gui.exe.") + "\r\n", console.err);
    EXPECT_TRUE(console.windows.empty());

    m_app.CopyLauncher(L"gui.exe", BuildDir() + L"\\bin\\" + kGuiLauncher);
    m_app.CopyFile(BuildDir() + L"\\bin\\" + kConsoleLauncher, L"pair\\tool.exe");
    m_app.WriteIni(Ini(L"test.PrintOut", L"[Application]\nPair Product=pair\\tool.exe\nPair Return Code=Yes\n"));
    LaunchResult gui = Launch();
    EXPECT_EQ(kLaunchFailed, gui.exitCode);
    EXPECT_EQ(Texts{kMixRefused + m_app.Path() + L"\\pair\\tool.exe.\n"}, gui.MessageTexts());
    EXPECT_FALSE(Log().Has(L"create"));
}

BOOL WINAPI IgnoreControlEvents(DWORD)
{
    return TRUE;
}

// This test process on a console of its own, which the launchers it starts
// share; the events it sends there reach nobody else.
class OwnConsole {
public:
    OwnConsole()
    {
        SetConsoleCtrlHandler(IgnoreControlEvents, TRUE);
        FreeConsole();
        m_open = AllocConsole() != FALSE;
    }
    ~OwnConsole()
    {
        FreeConsole();
        AttachConsole(ATTACH_PARENT_PROCESS);
        SetConsoleCtrlHandler(IgnoreControlEvents, FALSE);
    }
    bool IsOpen() const { return m_open; }

private:
    bool m_open = false;
};

// Ctrl+Break and Ctrl+C reach the runtime's handler while main runs: the
// runtime prints its thread dump and goes on, then ends the program with its
// own exit code.
TEST_F(ConsoleE2e, ControlEventsReachTheRuntime)
{
    OwnConsole console;
    ASSERT_TRUE(console.IsOpen());
    m_app.InstallRuntime(L"jre");
    m_app.WriteIni(Ini(L"test.Hold"));
    LaunchOptions options;
    options.env[L"JL_FAKEJVM_MAIN_HOLD"] = L"jl-console-hold-" + std::to_wstring(GetCurrentProcessId());
    std::future<LaunchResult> running = std::async(std::launch::async, [&] { return Launch({}, options); });
    ASSERT_TRUE(WaitForLog(m_app, [](const FakeJvmLog& log) { return log.Has(L"mainend"); }, &running));

    if (!GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, 0)) {
        DWORD error = GetLastError();
        HANDLE hold = CreateEventW(nullptr, TRUE, FALSE, options.env[L"JL_FAKEJVM_MAIN_HOLD"].c_str());
        SetEvent(hold);
        running.get();
        CloseHandle(hold);
        GTEST_SKIP() << "this system cannot send console control events (error " << error << ")";
    }
    EXPECT_TRUE(WaitForLog(m_app, [](const FakeJvmLog& log) { return log.Has(L"signal"); }, &running));
    EXPECT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    LaunchResult result = running.get();
    EXPECT_EQ(130u, result.exitCode);
    EXPECT_EQ("Full thread dump (stand-in)\r\n", result.out);
    EXPECT_EQ((Texts{L"BREAK", L"INT"}), Log().Values(L"signal"));
}

}  // namespace
