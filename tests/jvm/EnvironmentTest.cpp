#include "base/Encoding.h"
#include "core/LauncherApp.h"
#include "core/ModulePath.h"
#include "jvm/Environment.h"
#include "jvm/HostTestSupport.h"
#include "jvm/TestText.h"

#include <gtest/gtest.h>

TEST(ExpandEnvironmentTest, ExpandsKnownAndKeepsUnknownReferences)
{
    ScopedVariable set(L"JL_TEST_SET", L"value");
    ScopedVariable unset(L"JL_TEST_UNSET", nullptr);
    EXPECT_EQ(L"a value b", Std(ExpandEnvironment(String(L"a %JL_TEST_SET% b"))));
    EXPECT_EQ(L"%JL_TEST_UNSET%\\x", Std(ExpandEnvironment(String(L"%JL_TEST_UNSET%\\x"))));
    EXPECT_EQ(L"", Std(ExpandEnvironment(String())));
    EXPECT_EQ(L"100%", Std(ExpandEnvironment(String(L"100%"))));
}

TEST(ExpandEnvironmentTest, LongValuesComeBackWhole)
{
    // Well past any first guess of a buffer, within the system's 32K limit.
    std::wstring big(15000, L'x');
    big += L"\u00e9nd";
    ScopedVariable set(L"JL_TEST_BIG", big.c_str());
    std::wstring expanded = Std(ExpandEnvironment(String(L"[%JL_TEST_BIG%][%JL_TEST_BIG%]")));
    EXPECT_EQ(2 * big.size() + 4, expanded.size());
    EXPECT_TRUE(L"[" + big + L"][" + big + L"]" == expanded);
}

class PrepareEnvironmentTest : public ::testing::Test {
protected:
    ScopedVariable path{L"Path", L"C:\\old1;C:\\old2"};
    ScopedVariable jvmPath{L"OZ_JVM_PATH", nullptr};
    ScopedVariable jvmHome{L"OZ_JVM_HOME", nullptr};
    LauncherApp app;

    void SetUp() override { app.m_jvmLibraryPath = L"C:\\rt\\bin\\server\\jvm.dll"; }
};

TEST_F(PrepareEnvironmentTest, PublishesTheRuntimeAndAppendsItsBinFolder)
{
    app.PrepareEnvironment();
    EXPECT_EQ(L"C:\\rt\\bin\\server\\jvm.dll", Variable(L"OZ_JVM_PATH"));
    EXPECT_EQ(L"C:\\rt", Variable(L"OZ_JVM_HOME"));
    EXPECT_EQ(L"C:\\old1;C:\\old2;C:\\rt\\bin", Variable(L"Path"));
    // No "Library Path": no library-path option.
    EXPECT_EQ(0, app.m_jvmOptions.Count());
}

TEST_F(PrepareEnvironmentTest, SystemPathGoesFirst)
{
    app.m_systemPath = L"C:\\tools";
    app.PrepareEnvironment();
    EXPECT_EQ(L"C:\\tools;C:\\old1;C:\\old2;C:\\rt\\bin", Variable(L"Path"));
}

TEST_F(PrepareEnvironmentTest, SystemPathWithSemicolonAndReferences)
{
    ScopedVariable tools(L"JL_TEST_TOOLS", L"D:\\t");
    app.m_systemPath = L"%JL_TEST_TOOLS%\\bin;";
    app.PrepareEnvironment();
    EXPECT_EQ(L"D:\\t\\bin;C:\\old1;C:\\old2;C:\\rt\\bin", Variable(L"Path"));
}

TEST_F(PrepareEnvironmentTest, LibraryPathBecomesTheFirstOption)
{
    ScopedVariable native(L"JL_TEST_NATIVE", L"E:\\native");
    app.m_libraryPath = L"native;%JL_TEST_NATIVE%";
    app.PrepareEnvironment();
    std::wstring expected = L"native;E:\\native;" + ExeFolder() + L"\\;C:\\old1;C:\\old2;C:\\rt\\lib;.";
    EXPECT_EQ(expected, Std(app.m_libraryPath));
    ASSERT_EQ(1, app.m_jvmOptions.Count());
    EXPECT_EQ(L"-Djava.library.path=" + expected, Std(FromAnsi(app.m_jvmOptions[0].CStr())));
    // The library path uses the Path from before this step.
    EXPECT_EQ(L"C:\\old1;C:\\old2;C:\\rt\\bin", Variable(L"Path"));
}

TEST_F(PrepareEnvironmentTest, LibraryPathEndingInSemicolonGetsNoSecondOne)
{
    app.m_libraryPath = L"native;";
    app.PrepareEnvironment();
    EXPECT_EQ(L"native;" + ExeFolder() + L"\\;C:\\old1;C:\\old2;C:\\rt\\lib;.", Std(app.m_libraryPath));
}

TEST(SetWorkingDirectoryTest, MovesToTheLauncherFolder)
{
    wchar_t saved[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, saved);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    SetCurrentDirectoryW(temp);

    LauncherApp app;
    app.SetWorkingDirectory();
    wchar_t now[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, now);
    EXPECT_EQ(ExeFolder(), std::wstring(now));
    SetCurrentDirectoryW(saved);
}

TEST(ModulePathTest, PathsPastTheClassicLimitComeBackWhole)
{
    // The stand-in runtime's java.dll, loaded from a folder deeper than 259
    // characters.
    std::wstring build = ExeFolder();
    build.resize(build.rfind(L'\\'));
    build.resize(build.rfind(L'\\'));
    TempFolder folder(L"jvmtest_");
    std::wstring deep = folder.Path() + L"\\" + std::wstring(120, L'd') + L"\\" + std::wstring(120, L'e');
    ASSERT_TRUE(MakeDirs(deep));
    std::wstring library = deep + L"\\java.dll";
    ASSERT_GE(library.size(), 260u);
    ASSERT_TRUE(CopyFileW((build + L"\\fakejvm\\java.dll").c_str(), library.c_str(), FALSE));
    HMODULE module = LoadLibraryW(library.c_str());
    ASSERT_NE(nullptr, module);
    DWORD error = 0;
    EXPECT_EQ(library, Std(ReadModuleFilePath(module, error)));
    FreeLibrary(module);

    EXPECT_EQ(ExeFolder() + L"\\", Std(GetModuleDirectory()));
}
