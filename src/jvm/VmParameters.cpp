#include "jvm/VmParameters.h"

namespace {

// Position of the first c in [from, length), or -1.
int FindFrom(const wchar_t* text, int length, int from, wchar_t c)
{
    for (int i = from; i < length; ++i)
        if (text[i] == c)
            return i;
    return -1;
}

}  // namespace

int FindTokenEnd(const wchar_t* text, int length, int start)
{
    if (!text || length <= 0)
        return 0;
    if (start < 0 || start > length)
        RaiseFatalError(kFatalInvalidArg);
    int space = FindFrom(text, length, start, L' ');
    int quote = FindFrom(text, length, start, L'"');
    while (quote >= 0) {
        if (space < 0)
            return length;
        if (space < quote)
            return space;
        int close = FindFrom(text, length, quote + 1, L'"');
        if (close < 0)
            return space;
        if (close + 1 < length && text[close + 1] == L'"')
            ++close;
        quote = FindFrom(text, length, close + 1, L'"');
        space = FindFrom(text, length, close + 1, L' ');
    }
    return space < 0 ? length : space;
}

String RemoveQuotes(const wchar_t* text, int length)
{
    String result;
    if (!text || length <= 0)
        return result;
    // Copy the parameter piece by piece: text before each quote pair, then
    // the pair's content.
    int position = 0;
    while (position < length) {
        int open = FindFrom(text, length, position, L'"');
        if (open < 0 || open == length - 1)
            break;
        int close = FindFrom(text, length, open + 1, L'"');
        if (close < 0)
            break;
        if (close != length - 1 && text[close + 1] == L'"')
            ++close;
        result.Append(text + position, open - position);
        result.Append(text + open + 1, close - open - 1);
        position = close + 1;
    }
    result.Append(text + position, length - position);
    return result;
}

void SplitVmParameters(const String& text, StringList& parameters)
{
    parameters.Clear();
    if (text.IsEmpty())
        return;
    int start = 0;
    for (;;) {
        int end = FindTokenEnd(text, start);
        parameters.Append(text.Mid(start, end - start));
        int next = end;
        while (next < text.Length() && text[next] == L' ')
            ++next;
        if (next >= text.Length())
            return;
        start = next;
    }
}
