#pragma once

#include "base/Text.h"
#include "base/UniqueResource.h"

#include <windows.h>

// The launcher's own splash: a borderless, hidden-at-first popup of exactly
// the picture's size, centred on the primary screen, that shows the picture
// pixel for pixel. The picture is decoded and drawn into a screen-compatible
// bitmap once, when the window is created; painting is one BitBlt.
//
// Everything here runs on the splash thread, which creates, pumps and
// destroys the window. Destroying the object deletes the bitmap but leaves
// the window to that thread.
class SplashWindow {
public:
    static constexpr const wchar_t* kClassName = L"SplashScreenWindow";

    SplashWindow() = default;
    ~SplashWindow();
    SplashWindow(const SplashWindow&) = delete;
    SplashWindow& operator=(const SplashWindow&) = delete;

    // Registers the window class (once per process), renders the picture and
    // creates the window, hidden. A picture that cannot be read gives a
    // window of 0 by 0. Null when the class cannot be registered, the
    // window cannot be created, or the thread has been asked to quit.
    HWND Create(const String& picturePath, bool shadow);
    HWND Window() const { return m_window; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc);
    void RenderPicture(void* picture, int width, int height);

    HWND m_window = nullptr;
    UniqueGdiObject m_picture;  // the rendered picture
};
