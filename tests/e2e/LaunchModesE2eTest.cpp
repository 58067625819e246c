// Single-instance applications, service applications and the VM provider
// rule, seen from outside: which process runs which entry point with which
// arguments, and with which exit code every start ends.

#include "e2e/LaunchModesE2eSupport.h"

#include "base/UniqueResource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

TEST(LaunchModesE2e, LaterStartsReachSecondaryMain)
{
    // One argument of 1 and one of 516 characters: with the three zeros 1040 bytes, all there is room for.
    const Texts fits = {L"a", std::wstring(516, L'x')};
    const Texts tooLong = {L"a", std::wstring(517, L'x')};
    struct Row {
        const wchar_t* mainClass;
        Texts args;
        DWORD exitCode;  // void: 0, posted before the call; int: the number of arguments it got
        const wchar_t* variant;
        Texts received;
    } rows[] = {
        {L"test.SecondaryVoid", {L"a", L"b c", L"\u00fc\U0001F600"}, 0, L"void", {L"a", L"b c", L"\u00fc\U0001F600"}},
        {L"test.SecondaryInt", {}, 1, L"int", {L""}},  // no arguments arrive as one empty string
        {L"test.SecondaryInt", fits, 2, L"int", fits},
        {L"test.SecondaryInt", {L"5", L"", L"after", L""}, 4, L"int", {L"5", L"", L"after", L""}},
        {L"test.SecondaryThrows", {L"t"}, kLaunchFailed, L"int", {L"t"}},  // no answer: a failure
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Show(row.args));
        JvmApp app(SingleInstanceIni(row.mainClass));
        std::future<LaunchResult> first = StartFirstInstance(app);
        if (row.args == fits) {
            // Arguments that do not fit end the later start with a message;
            // nothing reaches the first.
            LaunchOptions options;
            options.args = tooLong;
            LaunchResult refused = RunLauncher(app.folder, options);
            EXPECT_EQ(kLaunchFailed, refused.exitCode);
            EXPECT_EQ(Texts{L"Argumen baris perintah terlalu panjang untuk diserahkan ke aplikasi yang sedang "
                            L"berjalan (paling banyak 1040 byte).\n"},
                      refused.MessageTexts());
        }
        LaunchOptions options;
        options.args = row.args;
        options.env[L"JLAUNCH_TRACE"] = app.Path() + L"\\later.trace";
        LaunchResult later = RunLauncher(app.folder, options);
        EXPECT_EQ(row.exitCode, later.exitCode);
        EXPECT_TRUE(later.windows.empty());
        // The later start's trace tells the hand-over and the answer.
        std::string trace = ReadText(app.Path() + L"\\later.trace");
        EXPECT_NE(std::string::npos, trace.find("later start: arguments handed to the first instance")) << trace;
        EXPECT_NE(std::string::npos,
                  trace.find("later start: the first instance answered " + std::to_string(static_cast<int>(row.exitCode))))
            << trace;
        // The stand-in program ends once secondaryMain has run.
        EXPECT_EQ(0u, first.get().exitCode);
        FakeJvmLog log = app.Log();
        EXPECT_EQ(Texts{row.variant}, log.Values(L"secondary"));
        EXPECT_EQ(std::vector<Texts>{row.received}, SecondaryCalls(log));
        EXPECT_EQ(1u, log.Values(L"create").size()) << "only the first start makes a VM";
        // The runtime names the thread when it prints what the call threw.
        for (const auto& attach : log.All(L"attach"))
            EXPECT_EQ(L"secondaryMain", attach.size() > 2 ? attach[2] : L"");
    }
}

// Starts the launcher under another spelling of its path, as a shortcut or a
// short name would, and returns its exit code.
DWORD RunUnderPath(const std::wstring& exe, const std::wstring& logPath, const std::wstring& tail)
{
    SetEnvironmentVariableW(L"JL_FAKEJVM_LOG", logPath.c_str());
    SetEnvironmentVariableW(L"JL_FAKEJVM_LINGER_MS", L"120000");
    std::wstring commandLine = L"\"" + exe + L"\" " + tail;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    DWORD exitCode = 0xDEAD;
    if (CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        UniqueHandle processHandle(process.hProcess);
        UniqueHandle threadHandle(process.hThread);
        if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0)
            TerminateProcess(process.hProcess, 0xDEAD);
        GetExitCodeProcess(process.hProcess, &exitCode);
    }
    SetEnvironmentVariableW(L"JL_FAKEJVM_LOG", nullptr);
    SetEnvironmentVariableW(L"JL_FAKEJVM_LINGER_MS", nullptr);
    return exitCode;
}

// One executable is one application however its path is spelled, and the
// names of its objects do not grow with the path: a launcher whose path is
// near the 260-character limit serves later starts too.
TEST(LaunchModesE2e, OneInstanceWhateverThePath)
{
    for (size_t length : {0, 258}) {
        SCOPED_TRACE(length);
        JvmApp app(SingleInstanceIni(L"test.Serve"));
        std::wstring deep = app.Path();
        if (length) {
            std::wstring folder = std::wstring(length - app.Path().size() - 14, L'd');
            app.folder.CopyFile(app.folder.Launcher(), folder + L"\\launcher.exe");
            app.folder.WriteFile(folder + L"\\launcher.ini",
                                 "[Java Runtime Environment]\r\nMain Class=test.Serve\r\nJRE Path=" + Narrow(app.Path()) +
                                     "\\jre\r\n[Class Path]\r\nClass Path=C:\\app.jar\r\n"
                                     "[Application]\r\nSingle Instance=yes\r\n");
            deep = app.Path() + L"\\" + folder;
        }
        std::wstring exe = deep + L"\\launcher.exe";
        ASSERT_EQ(length ? length : exe.size(), exe.size());
        std::future<LaunchResult> first = std::async(std::launch::async, [&] {
            return LaunchResult{RunUnderPath(exe, app.folder.LogPath(), L"first")};
        });
        ASSERT_TRUE(WaitForLog(app, [](const FakeJvmLog& log) { return log.Has(L"mainend"); }, &first));
        std::wstring other = exe;
        for (wchar_t& c : other)
            c = static_cast<wchar_t>(c == L'\\' ? c : (iswupper(c) ? towlower(c) : towupper(c)));
        EXPECT_EQ(6u, RunUnderPath(other, app.folder.LogPath(), L"6"));
        EXPECT_EQ(0u, RunUnderPath(exe, app.folder.LogPath(), L"quit"));
        EXPECT_EQ(0u, first.get().exitCode);
        FakeJvmLog log = app.Log();
        EXPECT_EQ(1u, log.Values(L"create").size()) << "only the first start makes a VM";
        EXPECT_EQ((std::vector<Texts>{{L"6"}, {L"quit"}}), SecondaryCalls(log));
    }
}

// Without "secondaryMain" a later start ends when the first instance ends,
// with its exit code; so does a later start that is still waiting for its
// turn to hand its arguments over.
TEST(LaunchModesE2e, WithoutSecondaryMainLaterStartsTakeTheFirstsExitCode)
{
    JvmApp app(SingleInstanceIni(L"test.ExitOnSignal"));
    std::wstring signal = app.Path() + L"\\signal";
    LaunchOptions firstOptions;
    firstOptions.args = {L"7", signal};
    std::future<LaunchResult> first = StartFirstInstance(app, firstOptions);

    LaunchOptions options;
    options.args = {L"forwarded"};
    options.timeoutMs = 120000;
    StartedLauncher forwarded(app.folder, options);
    // The first instance's worker attaches to the VM once it has the arguments.
    ASSERT_TRUE(WaitForLog(app, [](const FakeJvmLog& log) { return log.Has(L"attach"); }, &first));

    // The test keeps the block and the first instance's process, so that a
    // start that comes late still finds them, and holds the turn like a
    // start that never finishes would.
    std::wstring name = InstanceName(app.folder);
    UniqueHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str()));
    ASSERT_TRUE(mapping.valid());
    UniqueMappedView block(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
    ASSERT_TRUE(block.valid());
    DWORD firstId = static_cast<const DWORD*>(block.get())[1];
    UniqueHandle firstProcess(OpenProcess(SYNCHRONIZE, FALSE, firstId));
    ASSERT_TRUE(firstProcess.valid());
    UniqueHandle turn(CreateMutexW(nullptr, FALSE, (name + L"_upr_turn").c_str()));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(turn.get(), 60000));
    options.args = {L"waiting"};
    StartedLauncher waiting(app.folder, options);

    WriteBytes(signal, "");
    EXPECT_EQ(7u, forwarded.Wait());
    EXPECT_EQ(7u, waiting.Wait());
    EXPECT_EQ(7u, first.get().exitCode);
    ReleaseMutex(turn.get());
    FakeJvmLog log = app.Log();
    EXPECT_EQ(1u, log.Values(L"attach").size()) << "the waiting start was not handed over";
    EXPECT_TRUE(SecondaryCalls(log).empty());
}

// Thirty later starts at once, five rounds: each reaches secondaryMain once
// with its own arguments and ends with its own answer.
TEST(LaunchModesE2e, ThirtyLaterStartsAtOnce)
{
    const int kStarts = 30;
    JvmApp app(SingleInstanceIni(L"test.Serve"));
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::future<LaunchResult> first = StartFirstInstance(app);
        std::vector<Texts> expected;
        std::vector<std::unique_ptr<StartedLauncher>> later;
        for (int i = 1; i <= kStarts; ++i) {
            LaunchOptions options;
            options.args = {std::to_wstring(i), L"start " + std::to_wstring(i), std::wstring(i, L'\u00e9')};
            options.timeoutMs = 240000;
            expected.push_back(options.args);
            later.push_back(std::make_unique<StartedLauncher>(app.folder, options));
        }
        for (int i = 1; i <= kStarts; ++i)
            EXPECT_EQ(static_cast<DWORD>(i), later[i - 1]->Wait()) << "start " << i;

        LaunchOptions quit;
        quit.args = {L"quit"};
        EXPECT_EQ(0u, RunLauncher(app.folder, quit).exitCode);
        EXPECT_EQ(0u, first.get().exitCode);
        expected.push_back(quit.args);
        std::vector<Texts> calls = SecondaryCalls(app.Log());
        std::sort(calls.begin(), calls.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(expected, calls);
    }
}

// The test stands in for a first instance: it owns the instance block and
// answers like one.
TEST(LaunchModesE2e, LaterStartAndAFirstInstanceOfItsOwn)
{
    JvmApp app(SingleInstanceIni(L"test.RecordArgs"));
    std::wstring name = InstanceName(app.folder);
    UniqueHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 2092, name.c_str()));
    ASSERT_TRUE(mapping.valid());
    UniqueMappedView view(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_TRUE(view.valid());
    volatile DWORD* block = static_cast<DWORD*>(view.get());

    // A first instance that never gets its listener going: the later start
    // gives it a few seconds, then gives up.
    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(kLaunchFailed, RunLauncher(app.folder).exitCode);
    EXPECT_GE(GetTickCount64() - start, 5000u);

    // One that is still setting up when the later start comes.
    UINT message = RegisterWindowMessageW(name.c_str());
    MSG peeked;
    PeekMessageW(&peeked, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    LaunchOptions options;
    options.args = {L"one", L"two"};
    StartedLauncher later(app.folder, options);
    Sleep(500);  // either way, the start must wait and then be served
    block[2] = message;
    block[1] = GetCurrentProcessId();
    block[0] = GetCurrentThreadId();
    MSG received = {};
    ULONGLONG deadline = GetTickCount64() + 60000;
    while (!PeekMessageW(&received, nullptr, message, message, PM_REMOVE) && GetTickCount64() < deadline)
        Sleep(20);
    ASSERT_EQ(message, received.message);
    const wchar_t* area = reinterpret_cast<const wchar_t*>(const_cast<DWORD*>(block + 3));
    EXPECT_EQ(std::wstring(L"one\0two\0\0", 9), std::wstring(area, 9));
    PostThreadMessageW(static_cast<DWORD>(received.wParam), message, 42, 0);
    EXPECT_EQ(42u, later.Wait());

    // One whose process cannot be opened: the later start ends at once.
    block[1] = 0x7FFFFFF0;
    EXPECT_EQ(0u, RunLauncher(app.folder).exitCode);
    EXPECT_FALSE(app.Log().Has(L"create"));
}

// A service runs every start itself, takes "JRE Path" from its own settings
// even when a per-user file names another, and destroys the VM on the thread
// that ran main.
TEST(LaunchModesE2e, ServiceApplication)
{
    JvmApp app(L"[Product Information]\nProduct Name=Svc\nProduct Code=svc\n"
               L"[Java Runtime Environment]\nMain Class=test.ExitOnSignal\nJRE Path=rt\n"
               L"[Class Path]\nClass Path=C:\\app.jar\n"
               L"[Application]\nApplication Type=service\nSingle Instance=yes\n");
    app.folder.InstallRuntime(L"rt");
    app.folder.WriteFile(L"appdata\\Svc\\svc\\launcher.ini", "[Java Runtime Environment]\r\nJRE Path=jre\r\n");
    std::wstring signal = app.Path() + L"\\signal";
    LaunchOptions options;
    options.env[L"APPDATA"] = app.Path() + L"\\appdata";
    options.args = {L"3", signal};
    std::future<LaunchResult> first = StartFirstInstance(app, options);
    options.args = {L"4", signal};
    StartedLauncher second(app.folder, options);
    ASSERT_TRUE(WaitForLog(app, [](const FakeJvmLog& log) { return log.All(L"destroy").size() == 2; }, &first));
    WriteBytes(signal, "");
    EXPECT_EQ(4u, second.Wait());
    EXPECT_EQ(3u, first.get().exitCode);

    FakeJvmLog log = app.Log();
    EXPECT_EQ((Texts{L"test/ExitOnSignal", L"test/ExitOnSignal"}), log.Values(L"main"));
    EXPECT_EQ((Texts{L"same", L"same"}), log.Values(L"destroy"));
    for (const auto& env : log.All(L"env")) {
        if (env[1] == L"OZ_JVM_HOME")
            EXPECT_EQ(app.Path() + L"\\rt", env[2]);
    }
}

// "VM Provider" favor_ibm keeps the launch thread with the VM after main only
// when the runtime's release file names IBM as its maker.
TEST(LaunchModesE2e, IbmProviderRuleFollowsTheRuntime)
{
    struct Row {
        const char* release;  // null: no release file
        bool keepsThread;
    } rows[] = {
        {"JAVA_VERSION=\"17\"\nIMPLEMENTOR=\"Eclipse Adoptium\"\n", false},
        {nullptr, false},
        {"JAVA_VERSION=\"1.8.0\"\r\nIMPLEMENTOR=\"IBM Corporation\"\r\n", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.release ? row.release : "no release file");
        JvmApp app(L"[Java Runtime Environment]\nMain Class=test.ExitOnSignal\nVM Provider=favor_ibm\n"
                   L"[Class Path]\nClass Path=C:\\app.jar\n");
        if (row.release)
            app.folder.WriteFile(L"jre\\release", row.release);
        std::wstring signal = app.Path() + L"\\signal";
        LaunchOptions options;
        options.args = {L"5", signal};
        std::future<LaunchResult> run = StartFirstInstance(app, options);
        if (row.keepsThread)
            Sleep(1000);  // time in which the launch thread would have left the VM
        else
            ASSERT_TRUE(WaitForLog(app, [](const FakeJvmLog& log) { return log.Has(L"destroy"); }, &run));
        WriteBytes(signal, "");
        EXPECT_EQ(5u, run.get().exitCode);
        FakeJvmLog log = app.Log();
        EXPECT_EQ(!row.keepsThread, log.Has(L"detach"));
        EXPECT_EQ(!row.keepsThread, log.Has(L"destroy"));
    }
}

}  // namespace
