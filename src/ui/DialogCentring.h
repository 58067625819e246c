#pragma once

#include <windows.h>

// Where a dialog of the size of dialog goes when it is centred on reference
// and then kept inside workArea: first its right and bottom edges are pulled
// in, then its left and top edges, so a dialog larger than the work area
// keeps its top-left corner visible.
POINT CentredDialogPosition(const RECT& dialog, const RECT& reference, const RECT& workArea);

// Centres a dialog, keeping its size: over its owner when the owner is
// visible and not minimised, otherwise over the work area of the monitor
// nearest to the dialog; then keeps it inside the work area of the monitor
// nearest to that owner (or to the dialog).
void CentreDialog(HWND dialog);
