#include "core/LauncherApp.h"
#include "splash/SplashRules.h"
#include "splash/SplashWindow.h"

DWORD WINAPI LauncherApp::SplashThreadMain(void* parameter)
{
    LauncherApp* app = static_cast<LauncherApp*>(parameter);
    SplashWindow* splash = app->m_pSplashWindow;
    // The thread's message queue exists from here on, so a quit message
    // posted while the picture is prepared is kept.
    MSG message;
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    HWND window = splash->Create(app->m_splashImage, WantsSplashShadow(app->m_splashShadow));
    // Read by other threads as the owner of their message boxes; written once.
    InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&app->m_hSplashWnd), window);
    if (window) {
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
    }
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (window)
        DestroyWindow(window);
    return 0;
}

void LauncherApp::CloseSplashWindow()
{
    if (!m_pSplashWindow)
        return;
    // Also ends a thread that is still decoding the picture: the quit message
    // is posted again until the thread has a queue and has ended.
    QuitThreadAndWait(m_splashThreadId, m_hSplashThread.get());
    m_hSplashThread.reset();
    delete m_pSplashWindow;
    m_pSplashWindow = nullptr;
    // The window is gone: later message boxes must not name it as their owner.
    m_hSplashWnd = nullptr;
}
