#include "ui/HyperlinkControl.h"

#include "base/SystemFunction.h"
#include "ui/LinkColour.h"

#include <commctrl.h>
#include <shellapi.h>
#include <stddef.h>
#include <windowsx.h>

namespace {

const wchar_t kLinkProperty[] = L"jlaunch.HyperlinkControl";
const wchar_t kColourKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";

// ShellExecuteW, from the shell's DLL when it is first needed.
HINSTANCE WINAPI ShellOpen(HWND window, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                           const wchar_t* directory, INT show)
{
    static HyperlinkControl::OpenFunction shellExecute = nullptr;
    if (!shellExecute)
        shellExecute = GetSystemFunction<HyperlinkControl::OpenFunction>(L"shell32.dll", "ShellExecuteW");
    if (!shellExecute)
        return reinterpret_cast<HINSTANCE>(SE_ERR_DLLNOTFOUND);
    return shellExecute(window, verb, file, parameters, directory, show);
}

// The tooltip's window class belongs to the common controls.
void RegisterTooltipClass()
{
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    InitFunction init = GetSystemFunction<InitFunction>(L"comctl32.dll", "InitCommonControlsEx");
    if (!init)
        return;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES};
    init(&controls);
}

HyperlinkControl::OpenFunction g_open = ShellOpen;

HINSTANCE ModuleInstance()
{
    return GetModuleHandleW(nullptr);
}

// Tooltips of common controls 6 take the record with its reserved field;
// earlier systems refuse a record of that size.
UINT ToolInfoSize()
{
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    version.dwMajorVersion = 6;
    version.dwMinorVersion = 0;
    version.wServicePackMajor = 0;
    DWORDLONG condition = 0;
    condition = VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
    condition = VerSetConditionMask(condition, VER_MINORVERSION, VER_GREATER_EQUAL);
    condition = VerSetConditionMask(condition, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
    if (VerifyVersionInfoW(&version, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR, condition))
        return sizeof(TOOLINFOW);
    return offsetof(TOOLINFOW, lpReserved);
}

// One colour value of the browser's settings; a missing or malformed value
// leaves colour as it was.
void ReadColour(HKEY key, const wchar_t* name, COLORREF& colour)
{
    wchar_t units[12] = {};  // 11 characters and a terminator: longer values do not fit
    DWORD type = 0;
    DWORD size = sizeof(units);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(units), &size) != ERROR_SUCCESS)
        return;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return;
    if (size > sizeof(units))
        return;
    uint32_t parsed = 0;
    if (ParseLinkColourValue(units, size, parsed))
        colour = parsed;
}

}  // namespace

HyperlinkControl::OpenFunction HyperlinkControl::SetOpenFunction(OpenFunction function)
{
    OpenFunction previous = g_open;
    g_open = function ? function : ShellOpen;
    return previous;
}

HyperlinkControl::~HyperlinkControl()
{
    Detach();
}

bool HyperlinkControl::Attach(HWND window)
{
    if (!window || m_window || GetPropW(window, kLinkProperty))
        return false;
    if (!SetPropW(window, kLinkProperty, this))
        return false;
    m_window = window;
    m_previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HyperlinkControl::SubclassProc)));
    if (!m_previousProc) {
        RemovePropW(window, kLinkProperty);
        m_window = nullptr;
        return false;
    }
    Initialize();
    return true;
}

// Gives the window back its own procedure; the window may live on.
void HyperlinkControl::Detach()
{
    if (!m_window)
        return;
    if (IsWindow(m_window)) {
        SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
        RemovePropW(m_window, kLinkProperty);
    }
    m_tooltip.reset();
    m_window = nullptr;
}

void HyperlinkControl::Initialize()
{
    wchar_t className[8] = {};
    GetClassNameW(m_window, className, 8);
    if (String(className).EqualsNoCase(L"static")) {
        LONG_PTR style = GetWindowLongPtrW(m_window, GWL_STYLE);
        if (!(style & SS_NOTIFY))
            SetWindowLongPtrW(m_window, GWL_STYLE, style | SS_NOTIFY);
        LONG_PTR type = style & 0xFF;
        if ((type >= 3 && type <= 9) || (type >= 13 && type <= 15))
            m_paintLabel = false;  // icons, rectangles, frames, owner-drawn and pictures keep their painting
    }
    m_handCursor = LoadCursorW(nullptr, IDC_HAND);
    if (m_paintLabel) {
        if (!m_normalFont) {
            LOGFONTW iconTitle = {};
            if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(iconTitle), &iconTitle, 0)) {
                m_ownedNormalFont.reset(CreateFontIndirectW(&iconTitle));
                m_normalFont = static_cast<HFONT>(m_ownedNormalFont.get());
            }
        }
        if (!m_linkFont)
            CreateLinkFont();
    }
    RegisterTooltipClass();
    m_tooltip.reset(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, m_window, nullptr, ModuleInstance(), nullptr));
    if (!m_hasLabel) {
        int length = GetWindowTextLengthW(m_window);
        if (length > 0) {
            int copied = GetWindowTextW(m_window, m_label.GetBuffer(length), length + 1);
            m_label.SetLength(copied < 0 ? 0 : (copied > length ? length : copied));
            m_hasLabel = !m_label.IsEmpty();
        }
    }
    ComputeLinkRect();
    if (m_hasTarget) {
        if (m_tooltip) {
            SendMessageW(m_tooltip.get(), TTM_ACTIVATE, TRUE, 0);
            RegisterTool();
        }
    } else if (m_hasLabel) {
        SetTarget(m_label);
    }
    if (m_paintLabel)
        ReadLinkColours();
}

void HyperlinkControl::CreateLinkFont()
{
    m_linkFont.reset();
    LOGFONTW font = {};
    HGDIOBJ source = m_normalFont ? static_cast<HGDIOBJ>(m_normalFont) : GetStockObject(SYSTEM_FONT);
    if (!GetObjectW(source, sizeof(font), &font))
        return;
    font.lfUnderline = TRUE;
    m_linkFont.reset(CreateFontIndirectW(&font));
}

void HyperlinkControl::RegisterTool()
{
    TOOLINFOW tool = {};
    tool.cbSize = ToolInfoSize();
    tool.uFlags = 0;
    tool.hwnd = m_window;
    tool.uId = 1;
    tool.rect = m_linkRect;
    tool.hinst = ModuleInstance();
    tool.lpszText = const_cast<wchar_t*>(m_target.CStr());
    tool.lParam = 0;
    SendMessageW(m_tooltip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void HyperlinkControl::SetTarget(const String& text)
{
    m_target = text;
    m_hasTarget = true;
    if (!m_hasLabel)
        ComputeLinkRect();
    if (m_tooltip) {
        SendMessageW(m_tooltip.get(), TTM_ACTIVATE, TRUE, 0);
        RegisterTool();
    }
}

void HyperlinkControl::ReadLinkColours()
{
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kColourKey, 0, KEY_READ | KEY_WRITE, key.put()) != ERROR_SUCCESS)
        return;
    ReadColour(key.get(), L"Anchor Color", m_linkColour);
    ReadColour(key.get(), L"Anchor Color Visited", m_visitedColour);
}

bool HyperlinkControl::Navigate()
{
    if (!m_hasTarget)
        return false;
    HINSTANCE result = g_open(nullptr, L"open", m_target.CStr(), nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) <= 32)
        return false;
    m_visited = true;
    InvalidateRect(m_window, nullptr, TRUE);
    return true;
}

LRESULT HyperlinkControl::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(m_previousProc, m_window, message, wParam, lParam);
}

LRESULT CALLBACK HyperlinkControl::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    HyperlinkControl* self = static_cast<HyperlinkControl*>(GetPropW(window, kLinkProperty));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        WNDPROC previous = self->m_previousProc;
        self->Detach();
        return CallWindowProcW(previous, window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT HyperlinkControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSEHWHEEL && m_tooltip) {
        MSG relayed = {m_window, message, wParam, lParam, 0, {0, 0}};
        SendMessageW(m_tooltip.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_CREATE: {
        LRESULT result = CallPrevious(message, wParam, lParam);
        Initialize();
        return result;
    }
    case WM_DESTROY:
        m_tooltip.reset();
        m_linkFont.reset();
        if (m_ownedNormalFont) {
            m_ownedNormalFont.reset();
            m_normalFont = nullptr;
        }
        return CallPrevious(message, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (!m_paintLabel)
            return CallPrevious(message, wParam, lParam);
        InvalidateRect(m_window, nullptr, TRUE);
        return 0;
    case WM_MOUSEMOVE:
        if (!IsInLink(point))
            return CallPrevious(message, wParam, lParam);
        SetCursor(m_handCursor);
        return 0;
    case WM_SETCURSOR: {
        POINT cursor = {};
        if (GetCursorPos(&cursor) && ScreenToClient(m_window, &cursor) && IsInLink(cursor)) {
            SetCursor(m_handCursor);
            return TRUE;
        }
        return CallPrevious(message, wParam, lParam);
    }
    case WM_LBUTTONDOWN:
        if (PtInRect(&m_linkRect, point)) {
            SetFocus(m_window);
            SetCapture(m_window);
        }
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == m_window) {
            ReleaseCapture();
            if (PtInRect(&m_linkRect, point))
                Navigate();
        }
        return 0;
    case WM_CHAR:
        if (wParam == 13 || wParam == 32)
            Navigate();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS;
    case WM_SETFONT:
        if (m_ownedNormalFont)
            m_ownedNormalFont.reset();
        m_normalFont = reinterpret_cast<HFONT>(wParam);
        if (m_linkFont)
            CreateLinkFont();
        ComputeLinkRect();
        if (lParam) {
            InvalidateRect(m_window, nullptr, TRUE);
            UpdateWindow(m_window);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_normalFont);
    case WM_ENABLE:
        InvalidateRect(m_window, nullptr, TRUE);
        UpdateWindow(m_window);
        return 0;
    case WM_SIZE:
        ComputeLinkRect();
        InvalidateRect(m_window, nullptr, TRUE);
        return CallPrevious(message, wParam, lParam);
    case WM_UPDATEUISTATE:
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        if (!m_paintLabel)
            return CallPrevious(message, wParam, lParam);
        if (wParam) {
            Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        }
        PAINTSTRUCT paint = {};
        HDC dc = BeginPaint(m_window, &paint);
        if (dc)
            Paint(dc);
        EndPaint(m_window, &paint);
        return 0;
    }
    default:
        return CallPrevious(message, wParam, lParam);
    }
}
