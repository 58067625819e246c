#include "e2e/DisplayE2eSupport.h"
#include "splash/SplashRules.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

const TestPicture kPicture{65, 47};  // odd sizes: the centring halves truncate

std::wstring SplashIni(const std::wstring& mainClass, const std::wstring& display)
{
    return L"[Java Runtime Environment]\nMain Class=" + mainClass + L"\n[Class Path]\nClass Path=C:\\app.jar\n" +
           L"[Display]\n" + display;
}

// Runs the app until its splash window shows, looks at it, then lets main go on.
SeenSplash RunUntilSplash(JvmApp& app, const TestPicture* picture, PictureCheck check = PictureCheck::kEveryPixel,
                          const std::wstring& workingDir = L"")
{
    Hold mainHold;
    SeenSplash seen;
    LaunchOptions options;
    options.workingDir = workingDir;
    options.env[L"JL_FAKEJVM_MAIN_HOLD"] = mainHold.Name();
    options.onOtherWindow = [&](const SeenWindow& window) {
        if (window.className == kSplashClass && !seen.hwnd)
            seen = LookAtSplash(window, picture, check);
        mainHold.Release();
    };
    LaunchResult launch = app.Run(options);
    EXPECT_EQ(0u, launch.exitCode);
    return seen;
}

void ExpectCentred(int width, int height, const RECT& rect)
{
    RECT expected = CentredOnScreen(width, height);
    EXPECT_EQ(expected.left, rect.left);
    EXPECT_EQ(expected.top, rect.top);
    EXPECT_EQ(expected.right, rect.right);
    EXPECT_EQ(expected.bottom, rect.bottom);
}

}  // namespace

TEST(SplashE2e, ThePictureShowsCentredAtItsOwnSize)
{
    JvmApp app(SplashIni(L"test.Hold", L"Splash Screen=splash.png\nSplash Screen Shadow=true\n"));
    app.folder.WriteFile(L"splash.png", kPicture.Png());
    SeenSplash seen = RunUntilSplash(app, &kPicture);
    ASSERT_NE(nullptr, seen.hwnd) << "no splash window was seen";
    EXPECT_EQ(static_cast<ULONG_PTR>(CS_DBLCLKS | CS_SAVEBITS | CS_DROPSHADOW), seen.classStyle);
    // A borderless popup, no taskbar button, not topmost.
    EXPECT_EQ(static_cast<LONG_PTR>(WS_POPUP | WS_VISIBLE), seen.style & ~WS_CLIPSIBLINGS);
    EXPECT_EQ(static_cast<LONG_PTR>(WS_EX_TOOLWINDOW), seen.exStyle);
    ExpectCentred(kPicture.width, kPicture.height, seen.rect);
    EXPECT_EQ(0, seen.differingPixels) << "of " << kPicture.width * kPicture.height << " pixels";
}

TEST(SplashE2e, ARelativePictureIsTakenFromTheLaunchersFolder)
{
    // Started from elsewhere, as a shortcut or a file association may do.
    JvmApp app(SplashIni(L"test.Hold", L"Splash Screen=pictures\\splash.png\n"));
    app.folder.WriteFile(L"pictures\\splash.png", kPicture.Png());
    app.folder.MakeDir(L"elsewhere");
    SeenSplash seen = RunUntilSplash(app, &kPicture, PictureCheck::kEveryPixel, app.Path() + L"\\elsewhere");
    ASSERT_NE(nullptr, seen.hwnd) << "no splash window was seen";
    ExpectCentred(kPicture.width, kPicture.height, seen.rect);
    EXPECT_EQ(0, seen.differingPixels);
}

// Without a variant the picture is scaled to the screen's scale: at 96 DPI
// it stays as it is.
TEST(SplashE2e, PixelsOfAPlainPictureFollowTheScreensScale)
{
    ScopedScreenDpi dpi(RequestedTestDpi());
    JvmApp app(SplashIni(L"test.Hold", L"Splash Screen=splash.png\n"));
    app.folder.WriteFile(L"splash.png", kPicture.Png());
    SeenSplash seen = RunUntilSplash(app, &kPicture, PictureCheck::kQuadrantCentres);
    ASSERT_NE(nullptr, seen.hwnd) << "no splash window was seen";
    int screenDpi = LauncherDpi();
    ExpectCentred(MulDiv(kPicture.width, screenDpi, 96), MulDiv(kPicture.height, screenDpi, 96), seen.rect);
    EXPECT_EQ(0, seen.differingPixels) << "at " << screenDpi << " DPI";
}

// Variants beside the picture, each of its own size: the one for the
// screen's scale is shown pixel for pixel.
TEST(SplashE2e, PixelsOfTheVariantForTheScreensScale)
{
    const TestPicture variant150{100, 70};
    const TestPicture variant200{130, 94};
    ScopedScreenDpi dpi(RequestedTestDpi());
    JvmApp app(SplashIni(L"test.Hold", L"Splash Screen=pictures\\splash.png\n"));
    app.folder.WriteFile(L"pictures\\splash.png", kPicture.Png());
    app.folder.WriteFile(L"pictures\\splash@150pct.png", variant150.Png());
    app.folder.WriteFile(L"pictures\\splash@2x.png", variant200.Png());
    int percent = ScalePercent(LauncherDpi());
    const TestPicture& shown = percent <= 100 ? kPicture : percent <= 150 ? variant150 : variant200;
    SeenSplash seen = RunUntilSplash(app, &shown);
    ASSERT_NE(nullptr, seen.hwnd) << "no splash window was seen";
    ExpectCentred(shown.width, shown.height, seen.rect);
    EXPECT_EQ(0, seen.differingPixels) << "at " << percent << " %";
}

TEST(SplashE2e, ABitmapPictureWithoutShadow)
{
    // Only the exact word "true" asks for the shadow.
    for (const wchar_t* shadow : {L"True", L""}) {
        SCOPED_TRACE(Narrow(shadow));
        JvmApp app(SplashIni(L"test.Hold", L"Splash Screen=pictures\\splash.bmp\nSplash Screen Shadow=" +
                                               std::wstring(shadow) + L"\n"));
        app.folder.WriteFile(L"pictures\\splash.bmp", kPicture.Bmp());
        SeenSplash seen = RunUntilSplash(app, &kPicture);
        ASSERT_NE(nullptr, seen.hwnd) << "no splash window was seen";
        EXPECT_EQ(static_cast<ULONG_PTR>(CS_DBLCLKS | CS_SAVEBITS), seen.classStyle);
        EXPECT_EQ(0, seen.differingPixels);
    }
}

TEST(SplashE2e, AMissingPictureStillGivesAWindowThatCloses)
{
    JvmApp app(SplashIni(L"test.Hold", L"Splash Screen=missing.png\n"));
    SeenSplash seen = RunUntilSplash(app, nullptr);
    ASSERT_NE(nullptr, seen.hwnd) << "no splash window was seen";
    ExpectCentred(0, 0, seen.rect);
    EXPECT_FALSE(IsWindow(seen.hwnd));
}

TEST(SplashE2e, TheSplashClosesWhenMainReturns)
{
    // The program keeps running after main (as one with windows would): the
    // splash must be gone while it still runs.
    JvmApp app(SplashIni(L"test.Hold", L"Splash Screen=splash.png\n"));
    app.folder.WriteFile(L"splash.png", kPicture.Png());
    Hold mainHold, endHold;
    bool seen = false, goneWhileRunning = false;
    LaunchOptions options;
    options.env[L"JL_FAKEJVM_MAIN_HOLD"] = mainHold.Name();
    options.env[L"JL_FAKEJVM_END_HOLD"] = endHold.Name();
    options.onOtherWindow = [&](const SeenWindow& window) {
        if (window.className != kSplashClass)
            return;
        seen = true;
        mainHold.Release();
        goneWhileRunning = WaitUntilGone(window.hwnd) && ProcessRunning(window.processId);
        endHold.Release();
    };
    LaunchResult result = app.Run(options);
    EXPECT_EQ(0u, result.exitCode);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(goneWhileRunning);
}

TEST(SplashE2e, TheSplashClosesBeforeTheExceptionDialog)
{
    JvmApp app(SplashIni(L"test.HoldThrows", L"Splash Screen=splash.png\n") +
               L"[Application]\nFailure Check=Yes\n");
    app.folder.WriteFile(L"splash.png", kPicture.Png());
    Hold mainHold;
    HWND splash = nullptr;
    bool splashUpAtDialog = true;
    LaunchOptions options;
    options.env[L"JL_FAKEJVM_MAIN_HOLD"] = mainHold.Name();
    options.onOtherWindow = [&](const SeenWindow& window) {
        if (window.className == kSplashClass)
            splash = window.hwnd;
        mainHold.Release();
    };
    options.onWindow = [&](const SeenWindow& window) {
        splashUpAtDialog = splash && IsWindow(splash) && IsWindowVisible(splash);
        EXPECT_EQ(L"Pengecualian Java", window.title);
        return IDOK;
    };
    LaunchResult result = app.Run(options);
    EXPECT_EQ(0u, result.exitCode);
    EXPECT_NE(nullptr, splash);
    EXPECT_FALSE(splashUpAtDialog);
}

TEST(SplashE2e, AnErrorWhileTheSplashIsUpIsOwnedByIt)
{
    // The VM takes its time and then fails: its message belongs in front of the splash.
    JvmApp app(SplashIni(L"test.RecordArgs", L"Splash Screen=splash.png\n"));
    app.folder.WriteFile(L"splash.png", kPicture.Png());
    Hold createHold;
    HWND splash = nullptr;
    HWND owner = nullptr;
    LaunchOptions options;
    options.env[L"JL_FAKEJVM_CREATE_HOLD"] = createHold.Name();
    options.env[L"JL_FAKEJVM_CREATE_RESULT"] = L"-1";
    options.onOtherWindow = [&](const SeenWindow& window) {
        if (window.className == kSplashClass)
            splash = window.hwnd;
        createHold.Release();
    };
    options.onWindow = [&](const SeenWindow& window) {
        owner = GetWindow(window.hwnd, GW_OWNER);
        return IDOK;
    };
    LaunchResult result = app.Run(options);
    EXPECT_EQ(kLaunchFailed, result.exitCode);
    ASSERT_EQ(1u, result.MessageTexts().size()) << Show(result.MessageTexts());
    EXPECT_NE(nullptr, splash);
    EXPECT_EQ(splash, owner);
}

TEST(SplashE2e, TheNoSplashSwitches)
{
    struct Row {
        const wchar_t* argument;
        bool splashShown;
    };
    // Whole arguments, compared exactly.
    const Row rows[] = {{L"-nosplash", false}, {L"/nosplash", false}, {L"-NOSPLASH", true}, {L"x-nosplash", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(Narrow(row.argument));
        JvmApp app(SplashIni(L"test.Hold", L"Splash Screen=splash.png\n"));
        app.folder.WriteFile(L"splash.png", kPicture.Png());
        Hold mainHold;
        bool shown = false;
        LaunchOptions options;
        options.args = {L"first", row.argument};
        options.env[L"JL_FAKEJVM_MAIN_HOLD"] = mainHold.Name();
        options.onOtherWindow = [&](const SeenWindow& window) {
            shown = shown || window.className == kSplashClass;
            mainHold.Release();
        };
        // Where no splash comes, main is let go after a while in which one would have shown.
        std::thread timer;
        if (!row.splashShown)
            timer = std::thread([&] { Sleep(3000); mainHold.Release(); });
        LaunchResult result = app.Run(options);
        if (timer.joinable())
            timer.join();
        EXPECT_EQ(0u, result.exitCode);
        EXPECT_EQ(row.splashShown, shown);
        // The switch still reaches main.
        EXPECT_EQ((std::vector<std::wstring>{L"first", row.argument}), app.Log().Values(L"arg"));
    }
}
