#include "core/LauncherApp.h"
#include "support/common/TestFiles.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

std::wstring ModulePath()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

}  // namespace

// Runs only in the copy of this program that has no "." in its path (see
// below): beside it no settings file can be named, so the splash step fails.
TEST(SplashStartFailure, InACopyWithoutExtension)
{
    std::wstring resultFile = EnvironmentVariable(L"JL_SPLASH_START_RESULT");
    if (resultFile.empty())
        GTEST_SKIP() << "run by SplashStart.AFailedSplashStepFailsTheLaunch";
    ASSERT_EQ(std::wstring::npos, ModulePath().find(L'.')) << Narrow(ModulePath());
    int exitCode;
    {
        LauncherApp app;
        exitCode = app.Run();
        EXPECT_EQ(nullptr, app.m_pSplashWindow);
    }
    WriteBytes(resultFile, std::to_string(exitCode));
}

TEST(SplashStart, AFailedSplashStepFailsTheLaunch)
{
    TempFolder folder(L"jlsplashstart");
    std::wstring copy = folder / L"nodot";
    ASSERT_EQ(std::wstring::npos, copy.find(L'.')) << Narrow(copy);
    ASSERT_TRUE(CopyFileW(ModulePath().c_str(), copy.c_str(), FALSE));
    std::wstring resultFile = folder / L"result.txt";
    SetEnvironmentVariableW(L"JL_SPLASH_START_RESULT", resultFile.c_str());
    std::wstring commandLine = L"\"" + copy + L"\" --gtest_filter=SplashStartFailure.*";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessW(copy.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &process);
    SetEnvironmentVariableW(L"JL_SPLASH_START_RESULT", nullptr);
    ASSERT_TRUE(started) << GetLastError();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 120000));
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(0u, exitCode);
    // The launch ends as failed, not as a success that never ran anything.
    EXPECT_EQ("-1", ReadBytes(resultFile));
}

TEST(SplashStart, ClosingWithoutASplashDoesNothing)
{
    LauncherApp app;
    app.CloseSplashWindow();
    app.CloseSplashWindow();
    EXPECT_EQ(nullptr, app.m_pSplashWindow);
    EXPECT_EQ(nullptr, app.m_hSplashWnd);
}
