#include "ui/DialogTextFit.h"

#include "base/GdiScope.h"
#include "base/Text.h"

RECT ClientRectOf(HWND control, HWND dialog)
{
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void GrowControlForText(HWND dialog, int controlId)
{
    HWND control = GetDlgItem(dialog, controlId);
    if (!control)
        return;
    RECT place = ClientRectOf(control, dialog);
    int length = GetWindowTextLengthW(control);
    String text;
    text.SetLength(GetWindowTextW(control, text.GetBuffer(length), length + 1));
    LONG needed = 0;
    {
        WindowDc dc(control);
        if (!dc.get())
            return;
        SelectionScope font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
        RECT measured = {0, 0, place.right - place.left, 0};
        DrawTextW(dc.get(), text.CStr(), text.Length(), &measured, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
        needed = measured.bottom;
    }
    LONG grow = needed - (place.bottom - place.top);
    if (grow <= 0)
        return;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT other = ClientRectOf(child, dialog);
        if (child == control || other.top >= place.bottom) {
            bool below = child != control;
            SetWindowPos(child, nullptr, other.left, other.top + (below ? grow : 0), other.right - other.left,
                         other.bottom - other.top + (below ? 0 : grow), SWP_NOZORDER | SWP_NOACTIVATE);
        } else if (other.top <= place.top && other.bottom >= place.bottom) {
            // A frame around the control.
            SetWindowPos(child, nullptr, 0, 0, other.right - other.left, other.bottom - other.top + grow,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    RECT window = {};
    GetWindowRect(dialog, &window);
    SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + grow,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
