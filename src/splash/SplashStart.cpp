#include "core/LauncherApp.h"
#include "settings/EmbeddedSettings.h"
#include "settings/MergedSettings.h"
#include "settings/SettingWords.h"
#include "settings/SettingsPaths.h"
#include "splash/NativeSplash.h"
#include "splash/SplashWindow.h"

bool LauncherApp::StartSplash()
{
    String settingsPath;
    if (!GetSettingsFilePath(settingsPath))
        return false;
    // A branded launcher may carry its picture in its embedded settings.
    MergedSettings settings(settingsPath, LoadEmbeddedSettingsText());
    String display(L"Display");
    // A relative picture path is taken from the launcher's folder (where the
    // settings file is), whatever the current folder of the start.
    m_splashImage = CompleteSettingPath(settings.GetValue(display, String(L"Splash Screen")), settingsPath);
    m_splashShadow = settings.GetValue(display, String(L"Splash Screen Shadow"));
    String preferNative = settings.GetValue(display, String(L"Preffer Native Splash Screen"));
    if (m_splashImage.IsEmpty())
        return true;

    String library = FindNativeSplashLibrary(m_jvmLibraryPath);
    if (preferNative.EqualsNoCase(L"Yes") && !library.IsEmpty() && StartNativeSplash(library, m_splashImage))
        return true;

    // The picture is decoded and shown on the splash thread: the launch goes
    // on at once and never waits for it.
    m_pSplashWindow = new SplashWindow;
    DWORD threadId = 0;
    m_hSplashThread.reset(CreateThread(nullptr, 0, SplashThreadMain, this, 0, &threadId));
    if (m_hSplashThread) {
        m_splashThreadId = threadId;
    } else {
        delete m_pSplashWindow;  // no splash; the launch goes on without one
        m_pSplashWindow = nullptr;
    }
    return true;
}
