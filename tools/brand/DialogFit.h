#pragma once

// Room for longer texts in a dialog template, by a simple and deliberately
// generous estimate instead of measuring with a font (the tool runs where the
// launcher's dialog font may not exist). No Windows calls.
//
// A character is taken as 4.5 dialog units wide (a dialog unit is a quarter
// of the dialog font's average character width, so this allows for wide
// letters) and a line as 8 units high (one line of the dialog font). Words
// are wrapped at blanks onto lines of the control's width; a word longer than
// a line takes a line of its own (it cannot be broken); "\n" starts a line.

#include "DialogTemplate.h"

#include <string>

// The height in dialog units the text needs at the width.
int EstimatedTextHeight(const std::wstring& text, int width);

// A static control that shows its text word-wrapped (left, centred or right
// aligned text, not an icon or a simple single line).
bool IsWrappedText(const DialogControl& control);

// Makes the control at index at least height units high. Controls whose top
// lies at or below its old bottom move down by the growth, controls that
// enclose it on all sides (a group box) grow with it, and so does the dialog. False, with
// nothing changed, when a position or size would exceed 32767.
bool GrowControl(DialogTemplate& dialog, size_t index, int height);
