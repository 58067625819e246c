#pragma once

#include "base/ResourceText.h"

#include <windows.h>

// Messages about failures the user can act on: modal error message boxes in
// the GUI launcher, lines on the standard error stream in the console
// launcher. Texts, formats and captions are either strings or string-table
// ids (TextId). A caption of 0 means the system's default caption (none on a
// line).

// Shows MessageBoxW(owner, text, caption, MB_ICONERROR), or writes the line,
// and returns the result; 0 without showing anything when a loaded text
// cannot be stored.
int ShowErrorMessage(HWND owner, const wchar_t* text, const wchar_t* caption = nullptr);
// format's %s receives argument.
int ShowFormattedError(HWND owner, const wchar_t* format, const wchar_t* argument);
// format's %s receives argument and %d the system error number.
int ShowSystemError(HWND owner, const wchar_t* format, const wchar_t* argument, DWORD error);

// How this build shows a message (core/Frontend.cpp): MessageBoxW, or
// WriteMessageLine on the standard error handle.
int PresentMessage(HWND owner, const wchar_t* text, const wchar_t* caption);

// One message as one line: the caption and ": " when there is one, then the
// text with its line ends turned into blanks and the blanks and line ends at
// its end dropped, then "\r\n".
String MessageLine(const wchar_t* caption, const wchar_t* text);
// Writes MessageLine to stream: with WriteConsoleW when it is a console, else
// as UTF-8. False when nothing could be written.
bool WriteMessageLine(HANDLE stream, const wchar_t* caption, const wchar_t* text);

// Where messages go. The launcher always uses PresentMessage; unit tests
// replace it to see the texts without a modal window.
using MessageBoxFunction = int (*)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style);
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function);
