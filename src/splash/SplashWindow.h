#pragma once

#include "base/Text.h"
#include "base/UniqueResource.h"

#include <windows.h>

// The launcher's own splash: a borderless, hidden-at-first popup centred on
// the primary screen. On a screen scaled up (more than 96 pixels per inch) a
// high-resolution variant beside the picture ("splash@2x.png",
// "splash@150pct.png") is shown at its own size; without one the picture is
// scaled smoothly to the screen's scale. At 96 pixels per inch the picture is
// shown pixel for pixel. It is decoded and drawn into a screen-compatible
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
    // Draws the picture of width x height into a new bitmap of shownWidth x
    // shownHeight, smoothly scaled when the sizes differ.
    void RenderPicture(void* picture, int width, int height, int shownWidth, int shownHeight);

    HWND m_window = nullptr;
    UniqueGdiObject m_picture;  // the rendered picture
};
