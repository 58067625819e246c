#include "e2e/DisplayE2eSupport.h"

#include <atomic>

namespace {

const ULONGLONG kSettleLimitMs = 20000;

}  // namespace

Hold::Hold()
{
    static std::atomic<int> counter{0};
    m_name = L"jl-hold-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    m_event = CreateEventW(nullptr, TRUE, FALSE, m_name.c_str());
}

Hold::~Hold()
{
    SetEvent(m_event);
    CloseHandle(m_event);
}

SeenSplash LookAtSplash(const SeenWindow& window, const TestPicture* picture, PictureCheck check)
{
    SeePhysicalPixels();
    SeenSplash seen;
    seen.hwnd = window.hwnd;
    seen.processId = window.processId;
    seen.classStyle = GetClassLongPtrW(window.hwnd, GCL_STYLE);
    seen.style = GetWindowLongPtrW(window.hwnd, GWL_STYLE);
    seen.exStyle = GetWindowLongPtrW(window.hwnd, GWL_EXSTYLE);
    GetWindowRect(window.hwnd, &seen.rect);
    if (picture) {
        // The window may be shown a moment before its first paint reaches the screen.
        ULONGLONG deadline = GetTickCount64() + kSettleLimitMs;
        do {
            seen.differingPixels = check == PictureCheck::kEveryPixel ? PixelsDiffering(*picture, seen.rect)
                                                                      : QuadrantCentresDiffering(*picture, seen.rect);
            if (seen.differingPixels == 0)
                break;
            Sleep(50);
        } while (GetTickCount64() < deadline);
    }
    return seen;
}

RECT CentredOnScreen(int width, int height)
{
    int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    return RECT{x, y, x + width, y + height};
}

bool ProcessRunning(DWORD processId)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process)
        return false;
    bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

bool WaitUntilGone(HWND window)
{
    ULONGLONG deadline = GetTickCount64() + kSettleLimitMs;
    while (IsWindow(window)) {
        if (GetTickCount64() > deadline)
            return false;
        Sleep(20);
    }
    return true;
}
