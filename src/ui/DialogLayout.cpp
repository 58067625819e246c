#include "ui/DialogLayout.h"

#include "ui/DialogTextFit.h"

namespace {

// SBS_SIZEBOXBOTTOMRIGHTALIGN | SBS_SIZEGRIP with a visible, clipped child.
constexpr DWORD kGripStyle = 0x5402001C;

BOOL CALLBACK FindGroupBox(HWND child, LPARAM found)
{
    wchar_t className[8] = {};
    GetClassNameW(child, className, 8);
    LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    if (CompareStringOrdinal(className, -1, L"Button", -1, TRUE) == CSTR_EQUAL &&
        (style & BS_TYPEMASK) == BS_GROUPBOX) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

// A group box is transparent and erases nothing: under a parent that clips
// its children, the area it covers would never be painted at all.
bool HasGroupBox(HWND dialog)
{
    bool found = false;
    EnumChildWindows(dialog, FindGroupBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

RECT LayOutControl(const RECT& recorded, const RECT& current, unsigned flags, int dx, int dy)
{
    RECT rect = current;
    if (flags & (kSizeX | kMoveX))
        rect.right = recorded.right + dx;
    if (flags & kMoveX)
        rect.left = recorded.left + dx;
    if (flags & (kSizeY | kMoveY))
        rect.bottom = recorded.bottom + dy;
    if (flags & kMoveY)
        rect.top = recorded.top + dy;
    return rect;
}

void DialogLayout::Init(HWND dialog)
{
    m_dialog = dialog;
    LONG_PTR style = GetWindowLongPtrW(dialog, GWL_STYLE);
    if (!(style & WS_CLIPCHILDREN) && !HasGroupBox(dialog))
        SetWindowLongPtrW(dialog, GWL_STYLE, style | WS_CLIPCHILDREN);
    LONG_PTR exStyle = GetWindowLongPtrW(dialog, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_DLGMODALFRAME))
        SetWindowLongPtrW(dialog, GWL_EXSTYLE, exStyle | WS_EX_DLGMODALFRAME);
    if (!SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0))
        SendMessageW(dialog, WM_SETICON, ICON_SMALL, 0);

    m_records.Clear();
    m_minimumWidth = m_minimumHeight = -1;
    RECT client = {};
    GetClientRect(dialog, &client);
    m_initialWidth = client.right - client.left;
    m_initialHeight = client.bottom - client.top;
    m_hasGrip = false;

    if (!GetDlgItem(dialog, kGripId)) {
        CreateWindowExW(0, L"SCROLLBAR", nullptr, kGripStyle, client.left, client.top, m_initialWidth,
                        m_initialHeight, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kGripId)),
                        GetModuleHandleW(nullptr), nullptr);
        if (GetDlgItem(dialog, kGripId)) {
            m_hasGrip = true;
            AddRecord(kGripId, kMoveX | kMoveY | kRepaint);
        }
    }

    RECT window = {};
    GetWindowRect(dialog, &window);
    m_minimumWidth = window.right - window.left;
    m_minimumHeight = window.bottom - window.top;

    for (const LayoutEntry* entry = m_table; entry && entry->controlId != -1; ++entry)
        AddRecord(entry->controlId, entry->flags);
}

void DialogLayout::AddRecord(int controlId, unsigned flags)
{
    HWND control = GetDlgItem(m_dialog, controlId);
    if (!control)
        return;  // nothing to lay out
    m_records.Append(Record{controlId, flags, ClientRectOf(control, m_dialog)});
}

void DialogLayout::OnSize(UINT type, int width, int height)
{
    if (m_hasGrip) {
        HWND grip = GetDlgItem(m_dialog, kGripId);
        if (type == SIZE_MAXIMIZED)
            ShowWindow(grip, SW_HIDE);
        else if (type == SIZE_RESTORED)
            ShowWindow(grip, SW_SHOW);
    }
    if (type != SIZE_MINIMIZED)
        LayOut(width, height);
}

void DialogLayout::LayOut(int width, int height)
{
    if (!m_dialog)
        return;
    bool stopRedraw = IsWindowVisible(m_dialog) != FALSE;
    if (stopRedraw)
        SendMessageW(m_dialog, WM_SETREDRAW, FALSE, 0);
    int dx = width - m_initialWidth;
    int dy = height - m_initialHeight;
    for (int i = 0; i < m_records.Count(); ++i) {
        const Record& record = m_records[i];
        HWND control = GetDlgItem(m_dialog, record.controlId);
        if (!control)
            continue;
        RECT rect = LayOutControl(record.rect, ClientRectOf(control, m_dialog), record.flags, dx, dy);
        if (record.flags & kRepaint)
            InvalidateRect(control, nullptr, TRUE);
        if (record.flags)
            SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                         SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (stopRedraw)
        SendMessageW(m_dialog, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(m_dialog, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void DialogLayout::OnGetMinMaxInfo(MINMAXINFO* info) const
{
    if (m_minimumWidth >= 0 && m_minimumHeight >= 0) {
        info->ptMinTrackSize.x = m_minimumWidth;
        info->ptMinTrackSize.y = m_minimumHeight;
    }
}
