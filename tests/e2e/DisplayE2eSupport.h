#pragma once

#include "e2e/JvmE2eSupport.h"
#include "splash/TestPictures.h"

#include <string>

// A named event that one of the stand-in runtime's hold points waits for
// (support/fakejvm/Holds.h); released at the latest when the object ends.
class Hold {
public:
    Hold();
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
    const std::wstring& Name() const { return m_name; }
    void Release() { SetEvent(m_event); }

private:
    std::wstring m_name;
    HANDLE m_event;
};

// The splash window as a test saw it while it was up.
struct SeenSplash {
    HWND hwnd = nullptr;
    DWORD processId = 0;
    ULONG_PTR classStyle = 0;
    LONG_PTR style = 0;
    LONG_PTR exStyle = 0;
    RECT rect = {};
    int differingPixels = -1;  // -1: not compared
};

constexpr const wchar_t* kSplashClass = L"SplashScreenWindow";

// How a splash is compared with its picture: every pixel (shown at its own
// size), or the centres of its four quadrants (scaled).
enum class PictureCheck { kEveryPixel, kQuadrantCentres };

// Reads what a user sees of a splash window. With a picture, waits (up to a
// generous bound) until the screen shows it and counts the pixels that still
// differ.
SeenSplash LookAtSplash(const SeenWindow& window, const TestPicture* picture,
                        PictureCheck check = PictureCheck::kEveryPixel);

// Where a window of this size is placed: centred on the primary screen, the
// halves truncated toward zero.
RECT CentredOnScreen(int width, int height);

// Whether the process still runs.
bool ProcessRunning(DWORD processId);

// Waits (bounded) until the window no longer exists.
bool WaitUntilGone(HWND window);
