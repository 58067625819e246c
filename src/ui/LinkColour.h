#pragma once

#include <stdint.h>

// The browser's link colours are stored as text, "red,green,blue" in
// decimal. The registry value is untrusted: these rules decide whether it
// names a colour without reading past what was returned.

// A value of text type as the registry returned it: byteSize bytes of
// units. A size of 0 is empty text; an odd size, or a text whose last unit is
// not a terminator, is refused. On success colour = red + green * 256 +
// blue * 65536 and true; otherwise colour is untouched.
bool ParseLinkColourValue(const wchar_t* units, uint32_t byteSize, uint32_t& colour);

// "r,g,b": the text before the first comma, between the first and the second
// comma, and the non-empty rest, each read like _wtol and cut to its low 8
// bits. A missing comma, an empty rest, or a first or second number of -1
// refuse the text.
bool ParseLinkColourText(const wchar_t* text, int length, uint32_t& colour);
