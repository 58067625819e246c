// The download link of the runtime-not-found dialog as a user meets it: the
// colours it is drawn in (read back as pixels), the hand cursor, the tooltip,
// and which mouse and keyboard input open its target.

#include "res/resource.h"
#include "support/harness/Harness.h"
#include "ui/HyperlinkControl.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const wchar_t kSettingsKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";
const wchar_t kLinkText[] = L"https://www.java.com/download/";
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kPurple = RGB(128, 0, 128);

// What the stand-in for ShellExecuteW was asked to open.
std::vector<std::wstring> g_opened;
INT_PTR g_openResult = 42;

HINSTANCE WINAPI RecordOpen(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t*, const wchar_t*, INT show)
{
    EXPECT_STREQ(verb, L"open");
    EXPECT_EQ(show, SW_SHOWNORMAL);
    g_opened.push_back(file ? file : L"");
    return reinterpret_cast<HINSTANCE>(g_openResult);
}

// param: {the control's top-level window, which the system makes the owner
// of the control's tooltip, and the tooltip found}.
BOOL CALLBACK FindTooltipOf(HWND window, LPARAM param)
{
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    auto* search = reinterpret_cast<std::pair<HWND, HWND>*>(param);
    if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0 && GetWindow(window, GW_OWNER) == search->first)
        search->second = window;
    return TRUE;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// The pixels of a window's client area, as 0x00BBGGRR like COLORREF.
struct Capture {
    std::vector<COLORREF> pixels;
    size_t Count(COLORREF colour) const
    {
        size_t n = 0;
        for (COLORREF pixel : pixels)
            n += pixel == colour;
        return n;
    }
};

// Captures a client area: through WM_PRINTCLIENT into a bitmap, or, as the
// user sees it, from the window's own device context after a repaint.
Capture CaptureClient(HWND window, bool fromScreen)
{
    RECT client = {};
    GetClientRect(window, &client);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueDc memory(CreateCompatibleDC(nullptr));
    UniqueGdiObject bitmap(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    Capture capture;
    if (!bitmap || !bits)
        return capture;
    SelectionScope selected(memory.get(), bitmap.get());
    if (fromScreen) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        WindowDc dc(window);
        BitBlt(memory.get(), 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
    } else {
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
    }
    GdiFlush();
    const DWORD* rgb = static_cast<const DWORD*>(bits);
    for (LONG i = 0; i < client.right * client.bottom; ++i)
        capture.pixels.push_back(RGB((rgb[i] >> 16) & 0xFF, (rgb[i] >> 8) & 0xFF, rgb[i] & 0xFF));
    return capture;
}

class HyperlinkControlTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_colours.reset(new ScopedRegKey(HKEY_CURRENT_USER, kSettingsKey, KEY_WOW64_64KEY));
        m_previousOpen = HyperlinkControl::SetOpenFunction(RecordOpen);
        g_opened.clear();
        g_openResult = 42;
    }
    void TearDown() override
    {
        m_link.reset();
        m_dialog.reset();
        HyperlinkControl::SetOpenFunction(m_previousOpen);
        m_colours.reset();
    }

    // The runtime-not-found dialog's template with a plain procedure, shown,
    // and its link control made a link.
    void ShowLink(int controlId = IDC_DOWNLOAD_LINK)
    {
        m_link.reset();
        m_dialog.reset(CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_RUNTIME_NOT_FOUND), nullptr,
                                          PlainDialogProc, 0));
        ASSERT_TRUE(m_dialog);
        m_window = GetDlgItem(m_dialog.get(), controlId);
        m_link.reset(new HyperlinkControl);
        m_link->SetNormalFont(reinterpret_cast<HFONT>(SendMessageW(m_window, WM_GETFONT, 0, 0)));
        ASSERT_TRUE(m_link->Attach(m_window));
        ShowWindow(m_dialog.get(), SW_SHOWNOACTIVATE);
        UpdateWindow(m_dialog.get());
    }

    // The text is drawn in colour (its underline alone is a run of pixels in
    // exactly that colour), and no pixel is in absent.
    void ExpectDrawnIn(COLORREF colour, COLORREF absent, bool fromScreen)
    {
        Capture capture = CaptureClient(m_window, fromScreen);
        EXPECT_GE(capture.Count(colour), 20u) << (fromScreen ? "on screen" : "printed");
        EXPECT_EQ(capture.Count(absent), 0u) << (fromScreen ? "on screen" : "printed");
    }

    POINT InsideLink() const
    {
        const RECT& r = m_link->LinkRect();
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Mouse(UINT message, POINT at) { SendMessageW(m_window, message, 0, MAKELPARAM(at.x, at.y)); }
    void Click(POINT at)
    {
        Mouse(WM_LBUTTONDOWN, at);
        Mouse(WM_LBUTTONUP, at);
    }

    std::unique_ptr<ScopedRegKey> m_colours;
    UniqueWindow m_dialog;
    HWND m_window = nullptr;
    std::unique_ptr<HyperlinkControl> m_link;
    HyperlinkControl::OpenFunction m_previousOpen = nullptr;
};

TEST_F(HyperlinkControlTest, AnchorColourOfTheBrowserDrawsTheText)
{
    m_colours->SetString(L"Anchor Color", L"0,128,0");
    m_colours->SetString(L"Anchor Color Visited", L"255,0,0");
    ShowLink();
    EXPECT_EQ(m_link->LinkColour(), RGB(0, 128, 0));
    EXPECT_EQ(m_link->VisitedColour(), RGB(255, 0, 0));
    ExpectDrawnIn(RGB(0, 128, 0), kBlue, false);
    ExpectDrawnIn(RGB(0, 128, 0), kBlue, true);
}

TEST_F(HyperlinkControlTest, MalformedColourValuesKeepTheDefaults)
{
    const DWORD number = 0x008000;
    const wchar_t tooLong[] = L"000,128,0000";  // 12 characters do not fit
    const wchar_t twoNumbers[] = L"0,128";
    const wchar_t minusOne[] = L"-1,128,0";
    const wchar_t unterminated[] = {L'0', L',', L'1', L',', L'0'};
    struct Case {
        const char* name;
        DWORD type;
        const void* data;
        DWORD bytes;
    } cases[] = {
        {"number", REG_DWORD, &number, sizeof(number)},
        {"too long", REG_SZ, tooLong, sizeof(tooLong)},
        {"two numbers", REG_SZ, twoNumbers, sizeof(twoNumbers)},
        {"first number -1", REG_SZ, minusOne, sizeof(minusOne)},
        {"no terminator", REG_SZ, unterminated, sizeof(unterminated)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_colours->SetRaw(L"Anchor Color", c.type, c.data, c.bytes);
        m_colours->SetRaw(L"Anchor Color Visited", c.type, c.data, c.bytes);
        ShowLink();
        EXPECT_EQ(m_link->LinkColour(), kBlue);
        EXPECT_EQ(m_link->VisitedColour(), kPurple);
        ExpectDrawnIn(kBlue, kPurple, false);
    }
}

TEST_F(HyperlinkControlTest, DisabledLinkIsGreyVisitedOrNot)
{
    ShowLink();
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    EnableWindow(m_window, FALSE);
    ExpectDrawnIn(grey, kBlue, true);
    EXPECT_TRUE(m_link->Navigate());
    ExpectDrawnIn(grey, kPurple, false);
}

TEST_F(HyperlinkControlTest, AClickOpensTheTargetAndTurnsItVisited)
{
    ShowLink();
    g_openResult = 2;  // the shell refuses
    Click(InsideLink());
    EXPECT_EQ(g_opened, std::vector<std::wstring>{kLinkText});
    EXPECT_FALSE(m_link->Visited());
    ExpectDrawnIn(kBlue, kPurple, false);

    g_openResult = 42;
    Click(InsideLink());
    EXPECT_EQ(g_opened.size(), 2u);
    EXPECT_TRUE(m_link->Visited());
    ExpectDrawnIn(kPurple, kBlue, true);
}

TEST_F(HyperlinkControlTest, OnlyPressAndReleaseOnTheLinkOpenIt)
{
    ShowLink();
    RECT client = {};
    GetClientRect(m_window, &client);
    const POINT outside = {m_link->LinkRect().right + 2, 2};
    ASSERT_LT(outside.x, client.right) << "the text fills its control; no point beside it";

    Mouse(WM_LBUTTONDOWN, InsideLink());
    EXPECT_EQ(GetCapture(), m_window);
    Mouse(WM_MOUSEMOVE, outside);
    Mouse(WM_LBUTTONUP, outside);
    EXPECT_NE(GetCapture(), m_window);
    Mouse(WM_LBUTTONDOWN, outside);
    Mouse(WM_LBUTTONUP, InsideLink());
    Mouse(WM_LBUTTONUP, InsideLink());
    EXPECT_TRUE(g_opened.empty());

    Click(InsideLink());
    EXPECT_EQ(g_opened.size(), 1u);
}

TEST_F(HyperlinkControlTest, EnterAndSpaceOpenTheTarget)
{
    ShowLink();
    EXPECT_EQ(SendMessageW(m_window, WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS);
    for (WPARAM character : {WPARAM('a'), WPARAM(13), WPARAM(' '), WPARAM(9)})
        SendMessageW(m_window, WM_CHAR, character, 0);
    EXPECT_EQ(g_opened, (std::vector<std::wstring>{kLinkText, kLinkText}));
}

TEST_F(HyperlinkControlTest, HandCursorAndTooltipOverTheText)
{
    ShowLink();
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    Mouse(WM_MOUSEMOVE, InsideLink());
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));

    std::pair<HWND, HWND> search(GetAncestor(m_window, GA_ROOT), nullptr);
    EnumThreadWindows(GetCurrentThreadId(), FindTooltipOf, reinterpret_cast<LPARAM>(&search));
    HWND tooltip = search.second;
    ASSERT_TRUE(tooltip);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[80] = {};
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.lpszText = text;
    ASSERT_TRUE(SendMessageW(tooltip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_STREQ(text, kLinkText);
    EXPECT_EQ(tool.uId, 1u);
    EXPECT_EQ(tool.hwnd, m_window);
}

TEST_F(HyperlinkControlTest, AnIconKeepsItsPaintingAndOpensOnAClickAnywhere)
{
    ShowLink(IDC_ERROR_ICON);
    m_link->SetTarget(String(L"https://example.org/"));
    RECT client = {};
    GetClientRect(m_window, &client);
    EXPECT_TRUE(EqualRect(&client, &m_link->LinkRect()));
    Click({1, 1});
    EXPECT_EQ(g_opened, std::vector<std::wstring>{L"https://example.org/"});
}

}  // namespace
