// A launcher branded with embedded settings (and an icon large enough to
// move what follows the resources) runs an application that has no INI file
// of its own, and an INI file beside it still overrides them. So does a
// launcher branded by the Linux build of the tool (shipping_test.sh).

#include "Brand.h"

#include "BrandTestSupport.h"
#include "e2e/JvmE2eSupport.h"
#include "runtime/PeImageView.h"

#include <imagehlp.h>

#include <gtest/gtest.h>

namespace {

// Brands this build's launcher (or another one) with the settings (UTF-8 INI
// text) and installs it as MyApp.exe in app.
void InstallBrandedLauncher(AppFolder& app, const std::string& settings, const std::wstring& launcher = BuiltLauncher())
{
    TempFolder work(L"jl-brand-e2e-");
    ASSERT_TRUE(WriteBytes(work.Path() + L"\\defaults.ini", settings));
    ASSERT_TRUE(WriteBytes(work.Path() + L"\\app.ico", IconFile({{256, BitmapImage(256, 'a')}})));
    BrandOptions options;
    options.launcher = launcher;
    options.output = work.Path() + L"\\MyApp.exe";
    options.name = L"My App";
    options.version = L"1.2.3.4";
    options.settings = work.Path() + L"\\defaults.ini";
    options.icon = work.Path() + L"\\app.ico";
    std::wstring error;
    ASSERT_TRUE(BrandLauncher(options, error)) << Narrow(error);
    app.CopyLauncher(L"MyApp.exe", options.output);
    app.InstallRuntime(L"jre");
    app.WriteFile(L"lib\\app.jar", "PK");
}

const char kDefaults[] = "[Java Runtime Environment]\n"
                         "Main Class=test.RecordArgs\n"
                         "Virtual Machine Parameters=-Dfrom=embedded \"-Dname=caf\xC3\xA9\"\n"
                         "[Class Path]\n"
                         "Class Path=lib\\*.jar\n"
                         "[Application]\n"
                         "Cmd=--embedded\n";

LaunchOptions WithoutJavaHome()
{
    LaunchOptions options;
    options.env[L"JAVA_HOME"] = L"";
    return options;
}

// Runs the application and checks that it ran on kDefaults.
void ExpectRunOnDefaults(const AppFolder& app)
{
    LaunchResult result = RunLauncher(app, WithoutJavaHome());
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(0u, result.exitCode) << Show(result.MessageTexts());
    EXPECT_TRUE(result.MessageTexts().empty()) << Show(result.MessageTexts());

    FakeJvmLog log = FakeJvmLog::Read(app.LogPath());
    EXPECT_EQ(std::vector<std::wstring>{L"test/RecordArgs"}, log.Values(L"main"));
    std::vector<std::wstring> options = UserOptions(log);
    ASSERT_GE(options.size(), 2u) << Show(options);
    EXPECT_EQ(L"-Dfrom=embedded", options[options.size() - 2]) << Show(options);
    EXPECT_EQ(L"-Dname=caf\x00E9", options.back()) << Show(options);
    EXPECT_EQ(std::vector<std::wstring>{L"--embedded"}, log.Values(L"arg"));
}

}  // namespace

TEST(BrandE2e, BrandedLauncherRunsOnItsEmbeddedSettings)
{
    AppFolder app;
    ASSERT_NO_FATAL_FAILURE(InstallBrandedLauncher(app, kDefaults));
    ExpectRunOnDefaults(app);
}

// A branded console launcher stays a console program.
TEST(BrandE2e, BrandedConsoleLauncher)
{
    AppFolder app;
    ASSERT_NO_FATAL_FAILURE(InstallBrandedLauncher(
        app, kDefaults, BuildDir() + (sizeof(void*) == 8 ? L"\\bin\\launcherc64.exe" : L"\\bin\\launcherc.exe")));
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_CUI, PeImageView(String(app.Launcher().c_str())).Subsystem());
    ExpectRunOnDefaults(app);
}

// JL_SHIPPED_LAUNCHER: a launcher branded elsewhere with kDefaults as its settings.
TEST(BrandE2e, LauncherBrandedElsewhereRuns)
{
    std::wstring shipped = EnvironmentVariable(L"JL_SHIPPED_LAUNCHER");
    if (shipped.empty())
        GTEST_SKIP() << "tests/brand/shipping_test.sh runs this on a launcher branded on Linux";
    shipped = ToWindowsPath(shipped);
    DWORD header = 1, computed = 2;
    ASSERT_EQ(static_cast<DWORD>(CHECKSUM_SUCCESS), MapFileAndCheckSumW(shipped.c_str(), &header, &computed))
        << Narrow(shipped);
    EXPECT_EQ(computed, header);
    AppFolder app;
    app.CopyLauncher(L"MyApp.exe", shipped);
    app.InstallRuntime(L"jre");
    app.WriteFile(L"lib\\app.jar", "PK");
    ExpectRunOnDefaults(app);
}

TEST(BrandE2e, IniFileBesideTheBrandedLauncherOverrides)
{
    AppFolder app;
    ASSERT_NO_FATAL_FAILURE(InstallBrandedLauncher(app, kDefaults));
    app.WriteIni(L"[Application]\nCmd=--from-file\n");
    LaunchResult result = RunLauncher(app, WithoutJavaHome());
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(0u, result.exitCode) << Show(result.MessageTexts());
    FakeJvmLog log = FakeJvmLog::Read(app.LogPath());
    EXPECT_EQ(std::vector<std::wstring>{L"test/RecordArgs"}, log.Values(L"main"));
    EXPECT_EQ(std::vector<std::wstring>{L"--from-file"}, log.Values(L"arg"));
}

// Without a settings file beside it, a branded launcher takes its product
// names from its embedded settings: its per-user file is its own, not one
// with empty names shared by every launcher of the same file name.
TEST(BrandE2e, EmbeddedProductNamesNameThePerUserFile)
{
    AppFolder app;
    ASSERT_NO_FATAL_FAILURE(InstallBrandedLauncher(
        app, std::string(kDefaults) + "[Product Information]\nProduct Name=My App\nProduct Code=myapp\n"));
    LaunchOptions options = WithoutJavaHome();
    options.env[L"APPDATA"] = app.Path() + L"\\appdata";
    options.env[L"JLAUNCH_TRACE"] = app.Path() + L"\\trace.txt";
    LaunchResult result = RunLauncher(app, options);
    EXPECT_EQ(0u, result.exitCode) << Show(result.MessageTexts());
    std::string trace = ReadText(app.Path() + L"\\trace.txt");
    EXPECT_NE(std::string::npos, trace.find(Narrow(L"per-user settings file " + app.Path() +
                                                   L"\\appdata\\My App\\myapp\\MyApp.ini")))
        << trace;
}
