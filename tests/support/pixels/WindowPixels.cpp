#include "support/pixels/WindowPixels.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
const ULONGLONG kPaintWaitMs = 5000;

}  // namespace

void SeePhysicalPixels()
{
    static const bool done = [] {
        using SetContext = BOOL(WINAPI*)(HANDLE);
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        auto set = reinterpret_cast<SetContext>(
            reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
        if (set)
            set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)));  // per monitor, version 2
        return true;
    }();
    (void)done;
}

namespace {

std::wstring WindowText(HWND window)
{
    int length = GetWindowTextLengthW(window);
    std::wstring text(length + 1, L'\0');
    text.resize(GetWindowTextW(window, &text[0], length + 1));
    return text;
}

std::wstring ClassName(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

bool IsGroupBox(HWND window)
{
    return CompareStringOrdinal(ClassName(window).c_str(), -1, L"Button", -1, TRUE) == CSTR_EQUAL &&
           (GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// The whole control, its border included, in the dialog's client coordinates.
RECT RectIn(HWND control, HWND dialog)
{
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<HWND> VisibleChildren(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child))
            children.push_back(child);
    return children;
}

std::string Describe(HWND control)
{
    char text[160] = {};
    WideCharToMultiByte(CP_UTF8, 0, WindowText(control).c_str(), -1, text, sizeof(text) - 1, nullptr, nullptr);
    return "control " + std::to_string(GetDlgCtrlID(control)) + " \"" + text + "\"";
}

// Where the client area may show something else than the background: every
// control, but of a group box only its frame and caption.
std::vector<bool> ControlMask(HWND dialog, int width, int height, int dpi)
{
    std::vector<bool> mask(static_cast<size_t>(width) * height, false);
    auto cover = [&](const RECT& r) {
        for (int y = r.top < 0 ? 0 : r.top; y < r.bottom && y < height; ++y)
            for (int x = r.left < 0 ? 0 : r.left; x < r.right && x < width; ++x)
                mask[static_cast<size_t>(y) * width + x] = true;
    };
    int frame = MulDiv(4, dpi, 96);
    for (HWND child : VisibleChildren(dialog)) {
        RECT r = RectIn(child, dialog);
        if (!IsGroupBox(child)) {
            cover(r);
            continue;
        }
        int caption = MulDiv(18, dpi, 96);  // the caption text and the frame's top line
        cover(RECT{r.left, r.top, r.right, r.top + caption});
        cover(RECT{r.left, r.top, r.left + frame, r.bottom});
        cover(RECT{r.right - frame, r.top, r.right, r.bottom});
        cover(RECT{r.left, r.bottom - frame, r.right, r.bottom});
    }
    return mask;
}

std::string Hex(COLORREF c)
{
    char text[16];
    snprintf(text, sizeof(text), "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// With JL_PIXELS_DUMP naming a folder, a capture that shows a fault is
// written there as a bitmap, to be looked at.
void DumpForInspection(const Pixels& pixels, const char* what)
{
    const char* folder = getenv("JL_PIXELS_DUMP");
    if (!folder || pixels.width == 0)
        return;
    static int count = 0;
    std::string path = std::string(folder) + "\\" + what + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(++count) + ".bmp";
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = pixels.width;
    info.biHeight = -pixels.height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    DWORD bytes = static_cast<DWORD>(pixels.colours.size() * 4);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + bytes;
    std::vector<uint32_t> rows;
    for (COLORREF c : pixels.colours)
        rows.push_back((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
    if (FILE* out = fopen(path.c_str(), "wb")) {
        fwrite(&file, sizeof(file), 1, out);
        fwrite(&info, sizeof(info), 1, out);
        fwrite(rows.data(), 4, rows.size(), out);
        fclose(out);
    }
}

std::vector<std::string> BackgroundFaultsNow(HWND dialog, Pixels& shown)
{
    RECT client = {};
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    shown = CaptureScreen(client);
    std::vector<bool> mask = ControlMask(dialog, shown.width, shown.height, LauncherDpi());
    COLORREF background = GetSysColor(COLOR_BTNFACE);
    int wrong = 0;
    int firstX = -1, firstY = -1;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
            if (!mask[static_cast<size_t>(y) * shown.width + x] && shown.At(x, y) != background && wrong++ == 0)
                firstX = x, firstY = y;
    std::vector<std::string> faults;
    if (shown.width == 0)
        faults.push_back("the client area could not be read");
    else if (wrong)
        faults.push_back(std::to_string(wrong) + " background pixels are not " + Hex(background) + ", the first at (" +
                         std::to_string(firstX) + "," + std::to_string(firstY) + "): " +
                         Hex(shown.At(firstX, firstY)));
    return faults;
}

// The control's text measured in font as the static control lays it out.
SIZE MeasureStaticText(HWND control, HFONT font, int width)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, font);
    LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    UINT format = DT_CALCRECT | DT_EXPANDTABS | (style & SS_NOPREFIX ? DT_NOPREFIX : 0);
    if ((style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP)
        format |= DT_WORDBREAK;
    std::wstring text = WindowText(control);
    RECT rect = {0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

Pixels CaptureScreen(const RECT& area)
{
    SeePhysicalPixels();
    Pixels pixels;
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return pixels;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    if (const uint32_t* pixel = static_cast<const uint32_t*>(bits)) {
        pixels.width = width;
        pixels.height = height;
        for (int i = 0; i < width * height; ++i)
            pixels.colours.push_back(RGB((pixel[i] >> 16) & 0xFF, (pixel[i] >> 8) & 0xFF, pixel[i] & 0xFF));
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::vector<std::string> DialogBackgroundFaults(HWND dialog)
{
    SeePhysicalPixels();
    // Windows of tests running beside this one must not cover it.
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    std::vector<std::string> faults;
    for (ULONGLONG deadline = GetTickCount64() + kPaintWaitMs;;) {
        Pixels shown;
        faults = BackgroundFaultsNow(dialog, shown);
        if (faults.empty())
            return faults;
        if (GetTickCount64() > deadline) {
            DumpForInspection(shown, "background");
            return faults;
        }
        Sleep(100);
    }
}

std::vector<std::string> CutTexts(HWND dialog, const TemplateFont& font)
{
    SeePhysicalPixels();
    std::vector<std::string> cut;
    for (HWND child : VisibleChildren(dialog)) {
        LONG_PTR type = GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK;
        bool text = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_LEFTNOWORDWRAP;
        if (ClassName(child) != L"Static" || !text || WindowText(child).empty())
            continue;
        RECT client = {};
        GetClientRect(child, &client);
        SIZE needed = MeasureStaticText(child, font.Get(), client.right);
        if (needed.cx > client.right || needed.cy > client.bottom)
            cut.push_back(Describe(child) + " needs " + std::to_string(needed.cx) + "x" + std::to_string(needed.cy) +
                          " pixels, has " + std::to_string(client.right) + "x" + std::to_string(client.bottom));
    }
    return cut;
}

TemplateFont::TemplateFont(const wchar_t* face, int points)
{
    LOGFONTW logFont = {};
    logFont.lfHeight = -MulDiv(points, LauncherDpi(), 72);
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(logFont.lfFaceName, face, LF_FACESIZE);
    m_font = CreateFontIndirectW(&logFont);
}

TemplateFont::~TemplateFont()
{
    DeleteObject(m_font);
}

int TemplateFont::UnitsHigh(int units) const
{
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, m_font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return MulDiv(units, metrics.tmHeight, 8);
}

int RequestedTestDpi()
{
    const char* value = getenv("JL_TEST_DPI");
    return value ? atoi(value) : 0;
}

int LauncherDpi()
{
    if (int dpi = RequestedTestDpi())
        return dpi;
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

ScopedScreenDpi::ScopedScreenDpi(int dpi)
{
    SeePhysicalPixels();
    if (dpi <= 0)
        return;
    DWORD size = sizeof(m_oldValue);
    m_hadValue = RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &m_oldValue,
                              &size) == ERROR_SUCCESS;
    DWORD value = static_cast<DWORD>(dpi);
    m_changed = RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &value, sizeof(value)) ==
                ERROR_SUCCESS;
}

ScopedScreenDpi::~ScopedScreenDpi()
{
    if (!m_changed)
        return;
    if (m_hadValue)
        RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &m_oldValue, sizeof(m_oldValue));
    else
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
}
