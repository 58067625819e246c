#pragma once

#include <windows.h>

// A control's rectangle in its dialog's client coordinates.
RECT ClientRectOf(HWND control, HWND dialog);

// Makes a static text control tall enough for its text, measured in the
// dialog's font with word breaks at the control's width. What lies below the
// control moves down by the same amount, a frame (group box) around it and
// the dialog itself grow with it. A text that fits changes nothing.
void GrowControlForText(HWND dialog, int controlId);
