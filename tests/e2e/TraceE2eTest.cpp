// The launch trace as a user reads it: the file that JLAUNCH_TRACE names,
// after a real launch. Lines are "<ms> ms [<pid>] <event>"; the tests look
// at the events.

#include "runtime/RuntimeTestSupport.h"
#include "runtime/VendorRegistry.h"
#include "support/fakejvm/FakeJvmLog.h"
#include "support/harness/Harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

const DWORD kLaunchFailed = 0xFFFFFFFF;  // exit code -1
const wchar_t kMainClassIni[] = L"[Java Runtime Environment]\nMain Class=test.RecordArgs\n";
const wchar_t kClassPathIni[] = L"[Class Path]\nClass Path=C:\\app.jar\n";

// The events of a trace file, in order. Every line must be
// "<ms> ms [<pid>] <event>" with one process id and offsets that never go back.
std::vector<std::wstring> ReadTrace(const std::wstring& path)
{
    std::string bytes = ReadBytes(path);
    std::wstring text(bytes.size(), L'\0');
    text.resize(std::max(0, MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0],
                                                static_cast<int>(text.size()))));
    std::vector<std::wstring> events;
    std::wstring firstPid;
    unsigned long lastMs = 0;
    for (size_t start = 0, end; start < text.size(); start = end + 2) {
        end = text.find(L"\r\n", start);
        EXPECT_NE(end, std::wstring::npos) << "unterminated line";
        end = std::min(end, text.size());
        std::wstring line = text.substr(start, end - start);
        size_t digits = line.find_first_not_of(L' '), unit = line.find(L" ms ["), close = line.find(L"] ");
        bool ok = digits < unit && unit < close && close != std::wstring::npos &&
                  line.substr(digits, unit - digits).find_first_not_of(L"0123456789") == std::wstring::npos;
        EXPECT_TRUE(ok) << "not an event line: " << Narrow(line.substr(0, 200));
        if (!ok)
            continue;
        unsigned long ms = std::stoul(line.substr(digits, unit - digits));
        std::wstring pid = line.substr(unit + 5, close - unit - 5);
        if (firstPid.empty())
            firstPid = pid;
        EXPECT_EQ(pid, firstPid) << "a line of another process";
        EXPECT_GE(ms, lastMs);
        lastMs = ms;
        events.push_back(line.substr(close + 2));
    }
    return events;
}

// Each expected event appears in the trace, in this order (others may come between).
void ExpectInOrder(const std::vector<std::wstring>& trace, const std::vector<std::wstring>& expected)
{
    std::string dump = "\n--- trace ---\n";
    for (const std::wstring& text : trace)
        dump += Narrow(text.substr(0, 300)) + "\n";
    auto from = trace.begin();
    for (const std::wstring& line : expected) {
        auto at = std::find(from, trace.end(), line);
        EXPECT_NE(at, trace.end()) << "missing or out of order: " << Narrow(line.substr(0, 300)) << dump;
        from = at == trace.end() ? from : at + 1;
    }
}

class TraceE2e : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(runtime_test::SnapshotVendorKeys().empty()) << "the test prefix already holds Java registrations";
        m_app.CopyLauncher();
    }

    std::wstring In(const std::wstring& relative) const { return m_app.Path() + L"\\" + relative; }
    std::wstring TracePath() const { return m_traceFolder / L"launch trace.log"; }

    void Register(const std::wstring& vendorKey, const std::wstring& version, const std::wstring& home)
    {
        m_keys.push_back(std::make_unique<ScopedRegKey>(HKEY_LOCAL_MACHINE, vendorKey + L"\\" + version,
                                                        runtime_test::kLauncherView));
        if (!home.empty())
            m_keys.back()->SetString(L"JavaHome", home);
    }

    // Runs the launcher with JAVA_HOME as given (empty: removed) and the
    // trace variable set to trace (empty: removed).
    LaunchResult Launch(const std::wstring& trace, const std::vector<std::wstring>& args = {},
                        const std::wstring& javaHome = L"")
    {
        LaunchOptions options;
        options.args = args;
        options.env[L"JAVA_HOME"] = javaHome;
        options.env[L"JLAUNCH_TRACE"] = trace;
        options.onWindow = [](const SeenWindow& window) { return window.isMessageBox ? IDOK : IDCANCEL; };
        LaunchResult result = RunLauncher(m_app, options);
        EXPECT_FALSE(result.timedOut);
        return result;
    }

    AppFolder m_app;
    TempFolder m_elsewhere;    // runtimes outside the app folder
    TempFolder m_traceFolder;  // where the trace goes
    std::vector<std::unique_ptr<ScopedRegKey>> m_keys;
};

// Each class path item with what it matched, and where the output goes
// (relative names from the current folder, as Java takes them).
TEST_F(TraceE2e, ClassPathItemsAndOutputFiles)
{
    m_app.InstallRuntime(L"jre");
    m_app.WriteFile(L"lib\\a.jar", "PK");
    m_app.WriteIni(std::wstring(kMainClassIni) + L"[Class Path]\nClass Path=lib\\*.jar;lb\\*.jar\n"
                                                 L"[Application]\nOutput File=out\\o.txt\nError File=out\\O.TXT\n");
    EXPECT_EQ(0u, Launch(TracePath()).exitCode);
    ExpectInOrder(ReadTrace(TracePath()), {
                                              L"class path item lib\\*.jar: " + In(L"lib\\a.jar"),
                                              L"class path item lb\\*.jar: matches nothing",
                                              L"standard output to " + In(L"out\\o.txt") + L" (replaced): redirected",
                                              L"standard error to the stream of standard output",
                                          });
}

// A registry search with a runtime below the version window, one without a
// "JavaHome", one that is taken and one without a JVM library (subkeys are
// read in name order); the JRockit key is left out by "VM Provider". The
// trace tells each story.
TEST_F(TraceE2e, RegistrySearchNamesEveryCandidateAndWhy)
{
    const std::wstring jre = runtime_test::kJreKey;
    std::wstring empty = m_elsewhere / L"empty";
    runtime_test::MakeRuntime(empty, {});
    m_app.InstallRuntime(L"rt\\jre8");
    Register(jre, L"1.6.0_45", m_elsewhere / L"old");
    Register(jre, L"1.7.0_80", L"");
    Register(jre, L"11.0.2", empty);
    Register(jre, L"1.8.0_201", In(L"rt\\jre8"));
    Register(runtime_test::kJRockitJreKey, L"1.6.0", m_elsewhere / L"jrockit");
    std::wstring longArgument(40000, L'a');  // far beyond any fixed buffer: traced whole
    m_app.WriteIni(std::wstring(kMainClassIni) + L"Minimum Version=1.7\nMaximum Version=any\n" + kClassPathIni +
                   L"[Application]\nCmd=" + longArgument + L"\n");

    LaunchResult result = Launch(TracePath(), {L"first", L"zweite \u00e9t\u00e9"});
    EXPECT_EQ(result.exitCode, 0u);
    std::vector<std::wstring> trace = ReadTrace(TracePath());
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(trace[0].rfind(L"launcher " + m_app.Launcher() + L", version ", 0), 0u) << Narrow(trace[0]);
    const std::wstring key = L"registry candidate HKLM\\Software\\JavaSoft\\JRE\\";
    const std::wstring home8 = In(L"rt\\jre8\\");
    std::vector<std::wstring> expected = {
        L"settings file " + In(L"launcher.ini") + L": read",
        L"runtime settings: Minimum Version 1.7.0.0, Maximum Version 65535.65535.65535.65535",
        L"source \"JRE Path\": not set",
        L"registry key HKLM\\Software\\JRockit\\Java Runtime Environment: not searched, \"VM Provider\" does not "
        L"admit JRockit runtimes",
        L"registry key HKLM\\Software\\JavaSoft\\JRE (" + std::wstring(runtime_test::kIs64BitLauncher ? L"64" : L"32") +
            L"-bit view): 4 version subkeys",
        key + L"1.6.0_45: version 1.6.0.45, outside the version window: refused",
        key + L"1.7.0_80: no \"JavaHome\" text: refused",
        key + L"1.8.0_201: home " + home8,
        L"JVM library " + home8 + L"bin\\server\\jvm.dll",
        key + L"1.8.0_201: accepted, favoured",
        key + L"11.0.2: home " + empty + L"\\",
        L"no JVM library under " + empty + L"\\ (bin\\client, classic, hotspot, server or jrockit): refused",
        L"registry rank 1: version 1.8.0.201, home " + home8 + L", favoured, server VM",
        L"registry runtime taken: version 1.8.0.201, home " + home8 + L" (ranked first)",
        L"loading JVM library " + home8 + L"bin\\server\\jvm.dll",
        L"VM option 1: -Djava.class.path=C:\\app.jar",
        L"VM created",
        L"main class test/RecordArgs",
        L"argument 1: first",
        L"argument 2: zweite \u00e9t\u00e9",
        L"main has returned",
        L"exit code 0",
    };
    ExpectInOrder(trace, expected);
    EXPECT_EQ(trace.back(), L"exit code 0");
    // The long argument is traced whole, exactly as the program received it.
    std::vector<std::wstring> received = FakeJvmLog::Read(m_app.LogPath()).Values(L"arg");
    ASSERT_EQ(received.size(), 3u);
    EXPECT_GT(received[2].size(), 30000u);
    EXPECT_EQ(std::count(trace.begin(), trace.end(), L"argument 3: " + received[2]), 1);
}

// Nothing acceptable anywhere: the trace names every source and candidate
// and why it was refused, and the launch ends with -1.
TEST_F(TraceE2e, NoRuntimeFoundTellsWhyEachWasRefused)
{
    std::wstring clientOnly = m_elsewhere / L"client";
    runtime_test::MakeRuntime(clientOnly, {L"client"});
    runtime_test::MakeRuntime(m_elsewhere / L"javahome", {L"server"}, false);
    Register(runtime_test::kJreKey, L"1.8.0_201", clientOnly);
    Register(runtime_test::kJdkKey, L"21", clientOnly);
    m_app.WriteIni(std::wstring(kMainClassIni) + L"JVM Type=server\nJVM Source=only_JRE\nMinimum Version=1.6\n"
                   L"Maximum Version=17\n" + kClassPathIni);

    LaunchResult result = Launch(TracePath(), {}, m_elsewhere / L"javahome");
    EXPECT_EQ(result.exitCode, kLaunchFailed);
    std::vector<std::wstring> trace = ReadTrace(TracePath());
    std::vector<std::wstring> expected = {
        L"runtime settings: Minimum Version 1.6.0.0, Maximum Version 17.65535.65535.65535",
        L"runtime settings: Preferred versions not set, JVM Type server",
        L"runtime settings: JVM Source: JDK keys not searched, JRE keys searched, favoured kind JRE",
        L"source \"JRE Path\": not set",
        L"source beside the launcher: " + m_app.Path() + L"\\",
        m_app.Path() + L"\\jre\\: no bin\\java.dll here nor in the launcher's folder",
        L"registry key HKLM\\Software\\JavaSoft\\JDK: not searched, \"JVM Source\" does not admit JDK keys",
        L"registry candidate HKLM\\Software\\JavaSoft\\JRE\\1.8.0_201: home " + clientOnly + L"\\",
        L"no " + clientOnly + L"\\bin\\server\\jvm.dll, which \"JVM Type\" server requires: refused",
        L"source JAVA_HOME: " + (m_elsewhere / L"javahome"),
        m_elsewhere / L"javahome\\: no bin\\java.dll, not a runtime home: refused",
        L"no source gave a JVM library",
        L"exit code -1",
    };
    ExpectInOrder(trace, expected);
    const std::wstring accepted = L"registry candidate HKLM\\Software\\JavaSoft\\JRE\\1.8.0_201: accepted";
    EXPECT_EQ(std::count(trace.begin(), trace.end(), accepted), 0);
}

// Every source says why it was taken or refused: JAVA_HOME outside the
// version window, a bundled runtime and "JRE Path" to which the window does
// not apply, a per-user "JRE Path" that overrides the settings file's.
TEST_F(TraceE2e, EachSourceSaysWhy)
{
    std::wstring java21 = m_elsewhere / L"java21";
    runtime_test::MakeRuntime(java21, {L"server"});
    WriteBytes(java21 + L"\\release", "JAVA_VERSION=\"21.0.1\"\n");
    m_app.WriteIni(std::wstring(kMainClassIni) + L"Maximum Version=17\n" + kClassPathIni);
    Launch(TracePath(), {}, java21);
    ExpectInOrder(ReadTrace(TracePath()),
                  {java21 + L"\\: version 21.0.1 from its release file is outside the version window: refused",
                   L"no source gave a JVM library"});

    DeleteFileW(TracePath().c_str());
    m_app.InstallRuntime(L"jre");
    Launch(TracePath());
    ExpectInOrder(ReadTrace(TracePath()),
                  {In(L"jre\\") + L": runtime home, taken as it is: the version window does not apply to it"});

    DeleteFileW(TracePath().c_str());
    m_app.WriteIni(std::wstring(kMainClassIni) + L"JRE Path=jre\n" + kClassPathIni);
    m_app.WriteFile(L"appdata\\launcher.ini", "[Java Runtime Environment]\r\nJRE Path=" + Narrow(In(L"jre")) + "\r\n");
    LaunchOptions options;
    options.env[L"APPDATA"] = In(L"appdata");
    options.env[L"JLAUNCH_TRACE"] = TracePath();
    EXPECT_EQ(0u, RunLauncher(m_app, options).exitCode);
    ExpectInOrder(ReadTrace(TracePath()), {L"\"JRE Path\" " + In(L"jre") + L" of the per-user file overrides jre of the settings"});
}

// A launch that fails with a message: the message is in the trace as it was
// shown, line breaks written as \n, followed by the exit code.
TEST_F(TraceE2e, MessageShownAndExitCode)
{
    std::wstring junk = m_elsewhere / L"junk";
    runtime_test::MakeRuntime(junk, {L"server"}, true, "not a DLL");
    m_app.WriteIni(std::wstring(kMainClassIni) + L"JRE Path=" + junk + L"\n" + kClassPathIni);

    LaunchResult result = Launch(TracePath());
    EXPECT_EQ(result.exitCode, kLaunchFailed);
    std::vector<std::wstring> messages = result.MessageTexts();
    ASSERT_EQ(messages.size(), 1u);
    std::wstring shown = messages[0];
    ASSERT_GE(shown.size(), 1u);
    ASSERT_EQ(shown.back(), L'\n');
    shown.replace(shown.size() - 1, 1, L"\\n");

    std::vector<std::wstring> trace = ReadTrace(TracePath());
    std::vector<std::wstring> expected = {
        L"source \"JRE Path\": " + junk,
        L"JVM library " + junk + L"\\bin\\server\\jvm.dll",
        L"architecture not checked: no \"Pair Product\"",
        L"loading JVM library " + junk + L"\\bin\\server\\jvm.dll",
        L"message shown: " + shown,
        L"exit code -1",
    };
    ExpectInOrder(trace, expected);
}

// Without the variable, or with a trace file that cannot be opened, the
// launch runs as it always does and no trace appears anywhere.
TEST_F(TraceE2e, NoTraceWithoutTheVariableOrAWritableFile)
{
    m_app.InstallRuntime(L"jre");
    m_app.WriteIni(std::wstring(kMainClassIni) + kClassPathIni);
    std::wstring inMissingFolder = m_traceFolder / L"no such folder\\trace.log";
    for (const std::wstring& trace : {std::wstring(), inMissingFolder, m_traceFolder.Path()}) {
        DeleteFileW(m_app.LogPath().c_str());
        LaunchResult result = Launch(trace, {L"x"});
        EXPECT_EQ(result.exitCode, 0u) << Narrow(trace);
        EXPECT_TRUE(result.MessageTexts().empty()) << Narrow(trace);
        EXPECT_EQ(FakeJvmLog::Read(m_app.LogPath()).Values(L"arg"), std::vector<std::wstring>{L"x"});
    }
    EXPECT_FALSE(Exists(m_traceFolder / L"no such folder"));
    // The app folder holds only what was put there and the stand-in runtime's log.
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((m_app.Path() + L"\\*").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do
        names.push_back(data.cFileName);
    while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L".", L"..", L"fakejvm.log", L"jre", L"launcher.exe", L"launcher.ini"}));
    // The same launch with a writable file does leave a trace.
    Launch(TracePath());
    EXPECT_TRUE(FileExists(TracePath()));
}

}  // namespace
