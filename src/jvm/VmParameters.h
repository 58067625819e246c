#pragma once

#include "base/List.h"
#include "base/Text.h"

// Splitting and unquoting of the "Virtual Machine Parameters" text. Both read
// only within [text, text + length).

// End of the parameter that begins at start: the first space that is not
// inside a pair of double quotes, or length. A doubled quote right after a
// closing quote belongs to the quoted part. start must lie in [0, length].
int FindTokenEnd(const wchar_t* text, int length, int start);
inline int FindTokenEnd(const String& text, int start)
{
    return FindTokenEnd(text.CStr(), text.Length(), start);
}

// The parameter with each pair of double quotes removed and their content
// kept. When a closing quote is doubled, the first of the two stays as a
// literal quote. A quote without a partner stays.
String RemoveQuotes(const wchar_t* text, int length);
inline String RemoveQuotes(const String& parameter)
{
    return RemoveQuotes(parameter.CStr(), parameter.Length());
}

// The parameters of the whole text, still quoted: each runs from its start to
// FindTokenEnd, and the spaces after it are skipped. A text that begins with
// a space gives an empty first parameter; an empty text gives none.
void SplitVmParameters(const String& text, StringList& parameters);
