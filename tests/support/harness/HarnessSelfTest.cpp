// The harness tested against a small stand-in program ("boxer") whose
// behaviour is known, so that end-to-end failures point at the launcher.

#include "support/harness/Harness.h"

#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include <thread>

namespace {

std::wstring BoxerPath()
{
    return BuildDir() + L"\\harness\\boxer.exe";
}

LaunchResult RunBoxer(const std::vector<std::wstring>& args, LaunchOptions options = {})
{
    AppFolder app;
    app.CopyLauncher(L"boxer.exe", BoxerPath());
    options.args = args;
    return RunLauncher(app, options);
}

std::wstring ReadIniValue(const std::wstring& path, const wchar_t* section, const wchar_t* key)
{
    wchar_t value[256] = {};
    GetPrivateProfileStringW(section, key, L"", value, 256, path.c_str());
    return value;
}

TEST(HarnessPaths, UnixPathsBecomeDriveZPaths)
{
    struct Case {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {
        {L"/work/main/build/x", L"Z:\\work\\main\\build\\x"},
        {L"/work/main/build/x/", L"Z:\\work\\main\\build\\x"},
        {L"C:/Temp/a", L"C:\\Temp\\a"},
        {L"C:\\", L"C:\\"},
        {L"\\\\server\\share", L"\\\\server\\share"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToWindowsPath(c.in), c.out) << c.in;
}

TEST(HarnessPaths, BuildDirHoldsTheLauncher)
{
    const wchar_t* name = sizeof(void*) == 8 ? L"\\bin\\launcher64.exe" : L"\\bin\\launcher.exe";
    EXPECT_TRUE(Exists(BuildDir() + name));
}

TEST(HarnessAppFolder, IsUniqueAndRemovedWithEverythingInIt)
{
    std::wstring first;
    {
        AppFolder app;
        AppFolder other;
        first = app.Path();
        EXPECT_NE(app.Path(), other.Path());
        EXPECT_NE(app.Path().back(), L'\\');
        app.WriteFile(L"a\\b\\c.txt", "data");
        app.MakeDir(L"empty\\deeper");
        app.CopyFile(BoxerPath(), L"x\\boxer.exe");
        SetFileAttributesW((app.Path() + L"\\a\\b\\c.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        EXPECT_TRUE(Exists(app.Path() + L"\\x\\boxer.exe"));
        EXPECT_TRUE(Exists(app.Path() + L"\\empty\\deeper"));
    }
    EXPECT_FALSE(Exists(first));
}

TEST(HarnessAppFolder, IniFileTakesTheLaunchersNameUpToItsLastDot)
{
    AppFolder app;
    app.CopyLauncher(L"run.v2.exe", BoxerPath());
    EXPECT_EQ(app.Launcher(), app.Path() + L"\\run.v2.exe");
    app.WriteIni(L"[Section]\nKey=välue\n");
    std::wstring ini = app.Path() + L"\\run.v2.ini";
    EXPECT_EQ(ReadIniValue(ini, L"Section", L"Key"), L"välue");

    HANDLE file = CreateFileW(ini.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    unsigned char head[4] = {};
    DWORD read = 0;
    ReadFile(file, head, 4, &read, nullptr);
    CloseHandle(file);
    EXPECT_EQ(read, 4u);
    EXPECT_EQ(head[0], 0xFF);
    EXPECT_EQ(head[1], 0xFE);
    EXPECT_EQ(head[2], '[');
    EXPECT_EQ(head[3], 0);
}

TEST(HarnessAppFolder, LauncherWithoutExtensionInDottedFolderUsesTheFolderName)
{
    AppFolder app;
    app.CopyLauncher(L"My.Tool\\run", BoxerPath());
    app.WriteIni(L"[S]\nK=v\n");
    EXPECT_EQ(ReadIniValue(app.Path() + L"\\My.ini", L"S", L"K"), L"v");
}

TEST(HarnessRun, SeesMessageBoxTextAndExitCode)
{
    LaunchResult result = RunBoxer({L"box", L"7", L"Hello wörld"});
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 7u);
    ASSERT_EQ(result.windows.size(), 1u);
    const SeenWindow& box = result.windows[0];
    EXPECT_TRUE(box.isMessageBox);
    EXPECT_EQ(box.text, L"Hello wörld");
    EXPECT_EQ(box.title, L"Boxer");
    EXPECT_EQ(box.className, L"#32770");
    EXPECT_EQ(box.controlTexts.count(IDOK), 1u);
    EXPECT_EQ(result.MessageTexts(), std::vector<std::wstring>{L"Hello wörld"});
}

TEST(HarnessRun, NegativeExitCodeComesBackAsDword)
{
    LaunchResult result = RunBoxer({L"box", L"-1", L"x"});
    EXPECT_EQ(result.exitCode, 0xFFFFFFFFu);
}

TEST(HarnessRun, PressesTheButtonTheCallbackChooses)
{
    LaunchOptions options;
    std::vector<std::wstring> offered;
    options.onWindow = [&offered](const SeenWindow& window) {
        offered.push_back(window.text);
        return IDNO;
    };
    LaunchResult result = RunBoxer({L"ask", L"Continue?"}, options);
    EXPECT_EQ(result.exitCode, static_cast<DWORD>(IDNO));
    EXPECT_EQ(offered, std::vector<std::wstring>{L"Continue?"});
    ASSERT_EQ(result.windows.size(), 1u);
    EXPECT_EQ(result.windows[0].controlTexts.count(IDYES), 1u);
    EXPECT_EQ(result.windows[0].controlTexts.count(IDCANCEL), 1u);
}

TEST(HarnessRun, QuotesArgumentsWithBlanksAndEmptyOnes)
{
    LaunchResult result = RunBoxer({L"args", L"a b", L"", L"c"});
    EXPECT_EQ(result.MessageTexts(), std::vector<std::wstring>{L"a b||c"});
    EXPECT_EQ(result.exitCode, 3u);
}

TEST(HarnessRun, RawCommandTailIsUsedAsWritten)
{
    AppFolder app;
    app.CopyLauncher(L"boxer.exe", BoxerPath());
    LaunchOptions options;
    options.args = {L"ignored"};
    options.rawCommandTail = L"args \"x y\"z";
    LaunchResult result = RunLauncher(app, options);
    EXPECT_EQ(result.MessageTexts(), std::vector<std::wstring>{L"x yz"});
}

TEST(HarnessRun, ChildGetsTheLogPathByDefault)
{
    AppFolder app;
    app.CopyLauncher(L"boxer.exe", BoxerPath());
    LaunchOptions options;
    options.args = {L"env", L"JL_FAKEJVM_LOG"};
    LaunchResult result = RunLauncher(app, options);
    EXPECT_EQ(result.MessageTexts(), std::vector<std::wstring>{app.LogPath()});
    EXPECT_EQ(app.LogPath(), app.Path() + L"\\fakejvm.log");
}

TEST(HarnessRun, EnvironmentChangesAreSetAndRemoved)
{
    LaunchOptions options;
    options.env[L"JL_HARNESS_PROBE"] = L"from the test";
    EXPECT_EQ(RunBoxer({L"env", L"jl_harness_probe"}, options).MessageTexts(),
              std::vector<std::wstring>{L"from the test"});

    SetEnvironmentVariableW(L"JL_HARNESS_PROBE", L"inherited");
    EXPECT_EQ(RunBoxer({L"env", L"JL_HARNESS_PROBE"}).MessageTexts(), std::vector<std::wstring>{L"inherited"});
    LaunchOptions removing;
    removing.env[L"jl_harness_probe"] = L"";
    EXPECT_EQ(RunBoxer({L"env", L"JL_HARNESS_PROBE"}, removing).MessageTexts(),
              std::vector<std::wstring>{L"<unset>"});
    SetEnvironmentVariableW(L"JL_HARNESS_PROBE", nullptr);
}

TEST(HarnessRun, WorkingFolderDefaultsToTheAppFolder)
{
    AppFolder app;
    AppFolder elsewhere;
    app.CopyLauncher(L"boxer.exe", BoxerPath());
    LaunchOptions options;
    options.args = {L"cwd"};
    std::vector<std::wstring> seen = RunLauncher(app, options).MessageTexts();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(_wcsicmp(seen[0].c_str(), app.Path().c_str()), 0) << "cwd was not the app folder";
    options.workingDir = elsewhere.Path();
    seen = RunLauncher(app, options).MessageTexts();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(_wcsicmp(seen[0].c_str(), elsewhere.Path().c_str()), 0) << "cwd was not the given folder";
}

TEST(HarnessRun, WaitsForAndAnswersProcessesTheLauncherStarts)
{
    LaunchResult result = RunBoxer({L"spawn", L"box", L"5", L"from the grandchild"});
    EXPECT_EQ(result.exitCode, 3u);
    EXPECT_FALSE(result.timedOut);
    ASSERT_EQ(result.MessageTexts(), std::vector<std::wstring>{L"from the grandchild"});
}

TEST(HarnessRun, ConcurrentLaunchesSeeOnlyTheirOwnWindows)
{
    LaunchResult other;
    std::thread first([&other] { other = RunBoxer({L"box", L"1", L"first"}); });
    LaunchResult mine = RunBoxer({L"box", L"2", L"second"});
    first.join();
    EXPECT_EQ(other.MessageTexts(), std::vector<std::wstring>{L"first"});
    EXPECT_EQ(other.exitCode, 1u);
    EXPECT_EQ(mine.MessageTexts(), std::vector<std::wstring>{L"second"});
    EXPECT_EQ(mine.exitCode, 2u);
}

// Gtest's failure-expectation macros accept no local variables.
LaunchResult g_hungResult;
DWORD g_hungMs;

TEST(HarnessRun, HungProgramIsKilledAfterTheTimeout)
{
    EXPECT_NONFATAL_FAILURE(
        {
            DWORD start = GetTickCount();
            LaunchOptions options;
            options.timeoutMs = 1500;
            g_hungResult = RunBoxer({L"hang"}, options);
            g_hungMs = GetTickCount() - start;
        },
        "was killed");
    EXPECT_TRUE(g_hungResult.timedOut);
    EXPECT_GE(g_hungMs, 1500u);
    EXPECT_LT(g_hungMs, 15000u);
}

TEST(HarnessRegistry, CreatesMissingParentsAndRemovesThem)
{
    std::wstring top = L"Software\\jl-e2e-" + std::to_wstring(GetCurrentProcessId());
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        {
            ScopedRegKey key(HKEY_CURRENT_USER, top + L"\\A\\B", view);
            key.SetString(L"JavaHome", L"C:\\jre");
            HKEY opened = nullptr;
            ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (top + L"\\A\\B").c_str(), 0, KEY_READ | view, &opened),
                      ERROR_SUCCESS);
            wchar_t value[64] = {};
            DWORD bytes = sizeof(value) - sizeof(wchar_t);
            EXPECT_EQ(RegQueryValueExW(opened, L"JavaHome", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &bytes),
                      ERROR_SUCCESS);
            RegCloseKey(opened);
            EXPECT_STREQ(value, L"C:\\jre");
        }
        HKEY probe = nullptr;
        EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, top.c_str(), 0, KEY_READ | view, &probe), ERROR_SUCCESS);
        if (probe)
            RegCloseKey(probe);
    }
}

TEST(HarnessRegistry, ExistingKeyKeepsItselfButLosesTheValuesSet)
{
    std::wstring path = L"Software\\jl-e2e-keep-" + std::to_wstring(GetCurrentProcessId());
    ScopedRegKey outer(HKEY_CURRENT_USER, path, KEY_WOW64_64KEY);
    outer.SetString(L"Kept", L"1");
    {
        ScopedRegKey inner(HKEY_CURRENT_USER, path, KEY_WOW64_64KEY);
        inner.SetString(L"Temporary", L"2");
    }
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExW(outer.Get(), L"Temporary", nullptr, &type, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(outer.Get(), L"Kept", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
}

}  // namespace
