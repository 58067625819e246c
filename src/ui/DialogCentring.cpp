#include "ui/DialogCentring.h"

namespace {

RECT WorkAreaNear(HWND window)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    RECT area = {};
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
        area = info.rcWork;
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

}  // namespace

POINT CentredDialogPosition(const RECT& dialog, const RECT& reference, const RECT& workArea)
{
    LONG width = dialog.right - dialog.left;
    LONG height = dialog.bottom - dialog.top;
    POINT position = {reference.left + ((reference.right - reference.left) - width) / 2,
                      reference.top + ((reference.bottom - reference.top) - height) / 2};
    if (position.x + width > workArea.right)
        position.x = workArea.right - width;
    if (position.y + height > workArea.bottom)
        position.y = workArea.bottom - height;
    if (position.x < workArea.left)
        position.x = workArea.left;
    if (position.y < workArea.top)
        position.y = workArea.top;
    return position;
}

void CentreDialog(HWND dialog)
{
    RECT dialogRect = {};
    GetWindowRect(dialog, &dialogRect);
    HWND owner = GetWindow(dialog, GW_OWNER);
    bool overOwner = owner && IsWindowVisible(owner) && !IsIconic(owner);
    RECT reference = {};
    if (overOwner)
        GetWindowRect(owner, &reference);
    else
        reference = WorkAreaNear(dialog);
    POINT position = CentredDialogPosition(dialogRect, reference, WorkAreaNear(overOwner ? owner : dialog));
    SetWindowPos(dialog, nullptr, position.x, position.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
