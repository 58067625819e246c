#pragma once

#include "base/List.h"
#include "base/Text.h"

// The launcher's token rule for command lines and the "Cmd" setting. Only the
// space character separates tokens; there are no escape characters.
//  - A token that begins with a double quote runs to the next double quote and
//    loses both quotes; without a closing quote it is the rest of the text.
//    Text right after a closing quote begins the next token.
//  - Any other token runs to the next space and keeps the quotes inside it.
// Empty tokens (a pair of quotes with nothing between) are kept. The text is
// read only within [text, text + length): no terminator is needed.
void SplitTokens(const wchar_t* text, int length, StringList& tokens);
inline void SplitTokens(const String& text, StringList& tokens)
{
    SplitTokens(text.CStr(), text.Length(), tokens);
}

// The arguments of a whole command line: white space (space, tab, line
// breaks, vertical tab, form feed) is trimmed from both ends, the rest is
// split by SplitTokens and the first token, the program path, is dropped.
void SplitCommandLine(const wchar_t* text, int length, StringList& arguments);
