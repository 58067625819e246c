#pragma once

// The conversions of a message text as the launcher's printf-style formatting
// reads them, and whether a replacement text keeps them. No Windows calls.

#include <string>
#include <vector>

// Every conversion in text, in order, as written: "%s", "%d", and also any
// other conversion that wsprintf-style formatting would read ("%ls",
// "%5d", "%x", a "%" at the end). "%%" is a percent sign, not a conversion.
std::vector<std::wstring> Conversions(const std::wstring& text);

// Whether replacement holds exactly the conversions of original, in the same
// order. A text without conversions must not gain any.
bool KeepsConversions(const std::wstring& original, const std::wstring& replacement);

// format with each conversion replaced by value and "%%" by "%": the length
// the formatted text has for an argument of value's length.
std::wstring FillConversions(const std::wstring& format, const std::wstring& value);
