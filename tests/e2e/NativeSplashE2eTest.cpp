#include "e2e/DisplayE2eSupport.h"

#include <gtest/gtest.h>

namespace {

const TestPicture kPicture{40, 30};

// An app whose bundled runtime has a splash library and whose settings ask for it.
struct NativeSplashApp : JvmApp {
    NativeSplashApp(const std::wstring& mainClass, const std::wstring& library = L"splashscreen.dll")
        : JvmApp(L"[Java Runtime Environment]\nMain Class=" + mainClass +
                 L"\n[Class Path]\nClass Path=C:\\app.jar\n[Display]\nSplash Screen=splash.png\n"
                 L"Preffer Native Splash Screen=yes\n")
    {
        folder.CopyFile(BuildDir() + L"\\fakejvm\\" + library, L"jre\\bin\\splashscreen.dll");
        folder.WriteFile(L"splash.png", kPicture.Png());
    }
};

// The log as one line of events: splash library calls by name, VM events by kind.
std::vector<std::wstring> Events(const FakeJvmLog& log)
{
    std::vector<std::wstring> events;
    for (const auto& record : log.records) {
        const std::wstring& kind = record[0];
        if (kind == L"splash")
            events.push_back(record[1]);
        else if (kind == L"create" || kind == L"main" || kind == L"destroy")
            events.push_back(kind);
    }
    return events;
}

}  // namespace

TEST(NativeSplashE2e, TheRuntimesLibraryShowsTheSplash)
{
    NativeSplashApp app(L"test.RecordArgs");
    bool ownWindow = false;
    LaunchOptions options;
    options.onOtherWindow = [&](const SeenWindow& window) { ownWindow = ownWindow || window.className == kSplashClass; };
    LaunchResult result = app.Run(options);
    EXPECT_EQ(0u, result.exitCode);
    EXPECT_FALSE(ownWindow);
    FakeJvmLog log = app.Log();
    // Before the VM, in this order; closed once the application has ended.
    EXPECT_EQ((std::vector<std::wstring>{L"SplashInit", L"SplashLoadFile", L"SplashSetFileJarName", L"create", L"main",
                                         L"destroy", L"SplashClose"}),
              Events(log));
    auto calls = log.All(L"splash");
    ASSERT_EQ(4u, calls.size());
    // The picture's path as the settings give it, taken from the launcher's folder.
    std::wstring picture = app.Path() + L"\\splash.png";
    EXPECT_EQ((std::vector<std::wstring>{L"splash", L"SplashLoadFile", picture}), calls[1]);
    EXPECT_EQ((std::vector<std::wstring>{L"splash", L"SplashSetFileJarName", picture, L""}), calls[2]);
}

TEST(NativeSplashE2e, AFailedLaunchClosesTheRuntimesSplashOnce)
{
    NativeSplashApp app(L"com.example.Missing");
    LaunchResult result = app.Run();
    EXPECT_EQ(kLaunchFailed, result.exitCode);
    EXPECT_EQ(1u, result.MessageTexts().size()) << Show(result.MessageTexts());
    // Closed as the launch gives up, before the VM is destroyed, and only once.
    EXPECT_EQ((std::vector<std::wstring>{L"SplashInit", L"SplashLoadFile", L"SplashSetFileJarName", L"create",
                                         L"SplashClose", L"destroy"}),
              Events(app.Log()));
}

TEST(NativeSplashE2e, ALibraryWithoutSplashInitLeavesTheSplashToTheLauncher)
{
    NativeSplashApp app(L"test.Hold", L"noinit\\splashscreen.dll");
    Hold mainHold;
    bool ownWindow = false;
    LaunchOptions options;
    options.env[L"JL_FAKEJVM_MAIN_HOLD"] = mainHold.Name();
    options.onOtherWindow = [&](const SeenWindow& window) {
        ownWindow = ownWindow || window.className == kSplashClass;
        mainHold.Release();
    };
    LaunchResult result = app.Run(options);
    EXPECT_EQ(0u, result.exitCode);
    EXPECT_TRUE(ownWindow);
    // Nothing was shown through the library, but its close function still runs at the end.
    EXPECT_EQ((std::vector<std::wstring>{L"create", L"main", L"destroy", L"SplashClose"}), Events(app.Log()));
}
