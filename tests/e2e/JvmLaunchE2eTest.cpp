// A successful launch seen from the Java side: the option list the VM gets,
// the arguments main receives, the environment, the exit code, the stack of
// the thread that runs main and the working folder.

#include "e2e/JvmE2eSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using Texts = std::vector<std::wstring>;


TEST(JvmLaunchE2e, OptionListInItsOrder)
{
    JvmApp app(L"[Java Runtime Environment]\n"
               L"Main Class=test.RecordArgs\n"
               L"Library Path=native\n"
               L"Virtual Machine Parameters=-Xmx64m \"-Dname=a b\" -Dq=\"x y\" -Dhome=%JL_E2E_VALUE%\n"
               L"[Application]\n"
               L"Embedded Jar=YES\n"
               L"[Class Path]\n"
               L"Class Path=lib\\a.jar;lib\\*.jar;C:\\x\\missing.jar;missing.jar;;%JL_E2E_LIB%\\b.jar\n");
    app.folder.WriteFile(L"lib\\a.jar", "PK");
    app.folder.WriteFile(L"lib\\b.jar", "PK");
    app.folder.WriteFile(L"lib\\readme.txt", "x");
    LaunchOptions options;
    options.env[L"JL_E2E_VALUE"] = L"v\u00e1lue";
    options.env[L"JL_E2E_LIB"] = app.Path() + L"\\lib";
    LaunchResult result = app.Run(options);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(0u, result.exitCode) << Show(result.MessageTexts());
    EXPECT_TRUE(result.MessageTexts().empty()) << Show(result.MessageTexts());

    FakeJvmLog log = app.Log();
    Texts options_ = UserOptions(log);
    ASSERT_EQ(6u, options_.size()) << Show(options_);

    // The library path: the setting, the launcher's folder, the old Path,
    // the runtime's lib folder and, last, the current folder.
    std::wstring library = options_[0];
    std::wstring head = L"-Djava.library.path=native;" + app.Path() + L"\\;";
    std::wstring tail = L";" + app.Path() + L"\\jre\\lib;.";
    EXPECT_EQ(0u, library.find(head)) << Show(library);
    EXPECT_TRUE(library.size() > tail.size() && library.compare(library.size() - tail.size(), tail.size(), tail) == 0)
        << Show(library);

    // The class path: the launcher itself, then every item in order; the
    // wildcard's matches in the folder's order.
    std::wstring lib = app.Path() + L"\\lib\\";
    std::wstring classPath = options_[1];
    // No element is empty and none ends the list: an empty one would be the
    // current folder.
    std::wstring first = L"-Djava.class.path=" + app.folder.Launcher() + L";" + lib + L"a.jar;";
    ASSERT_EQ(0u, classPath.find(first)) << Show(classPath);
    std::wstring wildcard = classPath.substr(first.size(), 2 * (lib.size() + 6));
    EXPECT_TRUE(wildcard == lib + L"a.jar;" + lib + L"b.jar;" || wildcard == lib + L"b.jar;" + lib + L"a.jar;")
        << Show(classPath);
    EXPECT_EQ(L"C:\\x\\missing.jar;" + lib + L"b.jar", classPath.substr(first.size() + wildcard.size()))
        << Show(classPath);

    // The parameters, unquoted and expanded (the options are in the ANSI code
    // page; this one holds the accented letter).
    EXPECT_EQ((Texts{L"-Xmx64m", L"-Dname=a b", L"-Dq=x y", L"-Dhome=v\u00e1lue"}),
              Texts(options_.begin() + 2, options_.end()));

    EXPECT_EQ((Texts{L"0x00010002"}), log.Values(L"version"));
    EXPECT_EQ((Texts{L"0"}), log.Values(L"ignoreUnrecognized"));
    EXPECT_EQ((Texts{L"test/RecordArgs"}), log.Values(L"main"));
}

TEST(JvmLaunchE2e, MainReceivesCommandLineThenCmd)
{
    JvmApp app(L"[Java Runtime Environment]\nMain Class=test.RecordArgs\n"
               L"[Application]\nCmd=x \"y z\" %JL_E2E_VALUE% \"\"\n"
               L"[Class Path]\nClass Path=C:\\app.jar\n");
    LaunchOptions options;
    options.args = {L"a b", L"\u00fcn\u00efc\u00f8d\u00e9 \u65e5\u672c \U0001F600", L"-nosplash", L"", L"q\"q"};
    options.env[L"JL_E2E_VALUE"] = L"from env";
    LaunchResult result = app.Run(options);
    EXPECT_EQ(0u, result.exitCode) << Show(result.MessageTexts());
    FakeJvmLog log = app.Log();
    // The command line as the launcher splits it ("q\"q" is one token with its
    // quote), then the "Cmd" tokens without empty ones.
    Texts expected = {L"a b", L"\u00fcn\u00efc\u00f8d\u00e9 \u65e5\u672c \U0001F600", L"-nosplash", L"", L"q\"q",
                      L"x", L"y z", L"from", L"env"};
    EXPECT_EQ(expected, log.Values(L"arg")) << Show(log.Values(L"arg"));
}

TEST(JvmLaunchE2e, RawCommandLineTokens)
{
    JvmApp app(L"[Java Runtime Environment]\nMain Class=test.RecordArgs\n[Class Path]\nClass Path=C:\\app.jar\n");
    LaunchOptions options;
    options.rawCommandTail = L"  \"a b\"c  d\"e f\"  \"open end ";
    LaunchResult result = app.Run(options);
    EXPECT_EQ(0u, result.exitCode) << Show(result.MessageTexts());
    EXPECT_EQ((Texts{L"a b", L"c", L"d\"e", L"f\"", L"open end"}), app.Log().Values(L"arg"))
        << Show(app.Log().Values(L"arg"));
}

TEST(JvmLaunchE2e, EnvironmentForTheJavaProgram)
{
    JvmApp app(L"[Java Runtime Environment]\nMain Class=test.RecordArgs\nSystem Path=C:\\tools\n"
               L"[Class Path]\nClass Path=C:\\app.jar\n");
    LaunchResult result = app.Run();
    EXPECT_EQ(0u, result.exitCode) << Show(result.MessageTexts());
    FakeJvmLog log = app.Log();
    EXPECT_EQ(app.JvmDll(), log.Env(L"OZ_JVM_PATH"));
    EXPECT_EQ(app.Path() + L"\\jre", log.Env(L"OZ_JVM_HOME"));
    std::wstring path = log.Env(L"Path");
    EXPECT_EQ(0u, path.find(L"C:\\tools;")) << Show(path);
    std::wstring tail = L";" + app.Path() + L"\\jre\\bin";
    ASSERT_GT(path.size(), tail.size());
    EXPECT_EQ(tail, path.substr(path.size() - tail.size())) << Show(path);
    // No library path: no option for it.
    for (const std::wstring& option : UserOptions(log))
        EXPECT_NE(0u, option.find(L"-Djava.library.path=")) << Show(option);
}

TEST(JvmLaunchE2e, ExitCodes)
{
    JvmApp app(L"[Java Runtime Environment]\nMain Class=test.Exit\n[Class Path]\nClass Path=C:\\app.jar\n");
    LaunchOptions options;
    options.args = {L"7"};
    EXPECT_EQ(7u, app.Run(options).exitCode);
    EXPECT_EQ((Texts{L"7"}), app.Log().Values(L"exit"));
    options.args = {L"-3"};
    EXPECT_EQ(static_cast<DWORD>(-3), app.Run(options).exitCode);
    options.args = {};
    EXPECT_EQ(0u, app.Run(options).exitCode);
    EXPECT_EQ((Texts{L"0"}), app.Log().Values(L"exit"));
}

TEST(JvmLaunchE2e, NormalEndDetachesAndDestroys)
{
    JvmApp app(L"[Java Runtime Environment]\nMain Class=test.RecordArgs\n[Class Path]\nClass Path=C:\\app.jar\n");
    LaunchResult result = app.Run();
    EXPECT_EQ(0u, result.exitCode);
    FakeJvmLog log = app.Log();
    EXPECT_TRUE(log.Has(L"detach"));
    EXPECT_TRUE(log.Has(L"destroy"));
    // main runs on the thread that created the VM.
    EXPECT_EQ((Texts{L"same"}), log.Values(L"thread"));
}

TEST(JvmLaunchE2e, UncaughtExceptionWithoutFailureCheckFailsWithExitCodeOne)
{
    // As with the Java launcher: no dialog, the VM prints the exception as
    // uncaught when main's thread leaves it, and the exit code is 1.
    JvmApp app(L"[Java Runtime Environment]\nMain Class=test.Throws\n[Class Path]\nClass Path=C:\\app.jar\n");
    LaunchResult result = app.Run();
    EXPECT_EQ(1u, result.exitCode);
    EXPECT_TRUE(result.MessageTexts().empty()) << Show(result.MessageTexts());
    FakeJvmLog log = app.Log();
    EXPECT_FALSE(log.Has(L"describe"));
    EXPECT_EQ((Texts{L"java.lang.IllegalStateException: boom"}), log.Values(L"uncaught"));
    EXPECT_TRUE(log.Has(L"destroy"));
}

TEST(JvmLaunchE2e, MainClassThroughTheRuntimesHelper)
{
    JvmApp helper(L"[Java Runtime Environment]\nMain Class=test.RecordArgs\n[Class Path]\nClass Path=C:\\a.jar\n",
                  L"helper");
    EXPECT_EQ(0u, helper.Run().exitCode);
    FakeJvmLog log = helper.Log();
    EXPECT_EQ((Texts{L"sun/launcher/LauncherHelper"}), log.Values(L"bootloader"));
    EXPECT_EQ((Texts{L"test.RecordArgs"}), log.Values(L"checkAndLoadMain"));
    Texts found = log.Values(L"findclass");
    EXPECT_EQ(found.end(), std::find(found.begin(), found.end(), L"test/RecordArgs")) << Show(found);

    JvmApp plain(L"[Java Runtime Environment]\nMain Class=test.RecordArgs\n[Class Path]\nClass Path=C:\\a.jar\n");
    EXPECT_EQ(0u, plain.Run().exitCode);
    log = plain.Log();
    EXPECT_FALSE(log.Has(L"checkAndLoadMain"));
    found = log.Values(L"findclass");
    EXPECT_NE(found.end(), std::find(found.begin(), found.end(), L"test/RecordArgs")) << Show(found);
}

namespace {

// The stack a thread created with this reservation gets on this system (Wine
// gives at least 1 MB, Windows rounds to its allocation granularity).
std::wstring ReservedStack(DWORD reservation)
{
    struct Probe {
        static DWORD WINAPI Measure(void* out)
        {
            ULONG_PTR low = 0, high = 0;
            GetCurrentThreadStackLimits(&low, &high);
            *static_cast<ULONG_PTR*>(out) = high - low;
            return 0;
        }
    };
    ULONG_PTR size = 0;
    HANDLE thread = CreateThread(nullptr, reservation, Probe::Measure, &size, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return std::to_wstring(size);
}

}  // namespace

TEST(JvmLaunchE2e, LaunchThreadStackSize)
{
    struct Row {
        const wchar_t* parameters;
        const wchar_t* runtimeDefault;
        DWORD reservation;
    } rows[] = {
        {L"-Xss512k", L"", 524288},
        {L"-Xss2m -Xss4m", L"3145728", 4194304},
        {L"-Xss6291456", L"", 6291456},
        // No -Xss: the runtime's default size.
        {L"-Xmx32m", L"3145728", 3145728},
        // Too large for 32 bits: the runtime's default again.
        {L"-Xss4g", L"5242880", 5242880},
        // A size from the environment is read as the VM gets it.
        {L"-Xss%JL_E2E_STACK%", L"3145728", 2097152},
    };
    for (const Row& row : rows) {
        JvmApp app(std::wstring(L"[Java Runtime Environment]\nMain Class=test.RecordArgs\nVirtual Machine Parameters=") +
                   row.parameters + L"\n[Class Path]\nClass Path=C:\\a.jar\n");
        LaunchOptions options;
        options.env[L"JL_FAKEJVM_DEFAULT_STACK"] = row.runtimeDefault;
        options.env[L"JL_E2E_STACK"] = L"2m";
        EXPECT_EQ(0u, app.Run(options).exitCode) << Show(row.parameters);
        EXPECT_EQ((Texts{ReservedStack(row.reservation)}), app.Log().Values(L"stack")) << Show(row.parameters);
    }
}

TEST(JvmLaunchE2e, WorkingFolder)
{
    const wchar_t* ini = L"[Java Runtime Environment]\nMain Class=test.RecordArgs\n[Class Path]\nClass Path=C:\\a.jar\n";
    JvmApp app(std::wstring(ini) + L"[Application]\nOverride WorkingDir=yEs\n");
    app.folder.MakeDir(L"elsewhere");
    LaunchOptions options;
    options.workingDir = app.Path() + L"\\elsewhere";
    EXPECT_EQ(0u, app.Run(options).exitCode);
    EXPECT_EQ((Texts{app.Path()}), app.Log().Values(L"cwd"));

    JvmApp stays(ini);
    stays.folder.MakeDir(L"elsewhere");
    options.workingDir = stays.Path() + L"\\elsewhere";
    EXPECT_EQ(0u, stays.Run(options).exitCode);
    EXPECT_EQ((Texts{stays.Path() + L"\\elsewhere"}), stays.Log().Values(L"cwd"));
}

TEST(JvmLaunchE2e, OutputAndErrorFiles)
{
    JvmApp app(L"[Java Runtime Environment]\nMain Class=test.PrintOut\n"
               L"[Application]\nOutput File=%JL_E2E_DIR%\\logs\\out.txt\nError File=logs\\deeper\\err.txt\n"
               L"Error Append=yes\n"
               L"Override WorkingDir=Yes\n"
               L"[Class Path]\nClass Path=C:\\a.jar\n");
    app.folder.WriteFile(L"logs\\deeper\\err.txt", "before\n");
    app.folder.WriteFile(L"logs\\out.txt", "old content that goes\n");
    LaunchOptions options;
    options.args = {L"one", L"two"};
    options.env[L"JL_E2E_DIR"] = app.Path();
    EXPECT_EQ(0u, app.Run(options).exitCode);

    EXPECT_EQ("out:one\nout:two\n", ReadText(app.Path() + L"\\logs\\out.txt"));
    EXPECT_EQ("before\nerr:one\nerr:two\n", ReadText(app.Path() + L"\\logs\\deeper\\err.txt"));

    // A date picture between the first and the last "%" of the name.
    JvmApp stamped(L"[Java Runtime Environment]\nMain Class=test.PrintOut\n"
                   L"[Application]\nOutput File=%JL_E2E_DIR%\\stamped\\out_%yyyy%.txt\n"
                   L"[Class Path]\nClass Path=C:\\a.jar\n");
    options.env[L"JL_E2E_DIR"] = stamped.Path();
    options.args = {L"x"};
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(0u, stamped.Run(options).exitCode);
    std::wstring name = L"stamped\\out_" + std::to_wstring(now.wYear) + L".txt";
    ASSERT_TRUE(FileExists(stamped.Path() + L"\\" + name)) << Show(name);
    EXPECT_EQ(0u, ReadBytes(stamped.Path() + L"\\" + name).find("out:x"));
}

