#pragma once

#include "base/Text.h"

#include <stdarg.h>
#include <stdint.h>

// Texts and formats may be given as a string-table id instead of a pointer:
// a value not above 0xFFFF is an id (as with MAKEINTRESOURCE).
inline const wchar_t* TextId(unsigned id) { return reinterpret_cast<const wchar_t*>(static_cast<uintptr_t>(id)); }
inline bool IsTextId(const wchar_t* text) { return reinterpret_cast<uintptr_t>(text) <= 0xFFFF; }

// A string-table entry of the executable, whatever the user's language;
// empty when the entry does not exist.
String LoadResourceString(unsigned id);

// printf-style formatting with the legacy wide meaning: %s takes a UTF-16
// text (const wchar_t*), %d a signed int, %u an unsigned int, %% a percent
// sign. The format may be a string-table id. No length limit.
String FormatText(const wchar_t* format, ...);
String FormatTextV(const wchar_t* format, va_list args);
