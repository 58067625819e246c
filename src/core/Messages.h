#pragma once

#include "base/ResourceText.h"

#include <windows.h>

// Modal error message boxes for failures the user can act on. Texts, formats
// and captions are either strings or string-table ids (TextId). A caption of
// 0 means the system's default caption.

// Shows MessageBoxW(owner, text, caption, MB_ICONERROR) and returns its
// result; 0 without showing anything when a loaded text cannot be stored.
int ShowErrorMessage(HWND owner, const wchar_t* text, const wchar_t* caption = nullptr);
// format's %s receives argument.
int ShowFormattedError(HWND owner, const wchar_t* format, const wchar_t* argument);
// format's %s receives argument and %d the system error number.
int ShowSystemError(HWND owner, const wchar_t* format, const wchar_t* argument, DWORD error);

// Where message boxes go. The launcher always uses MessageBoxW; unit tests
// replace it to see the texts without a modal window.
using MessageBoxFunction = int (*)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style);
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function);
