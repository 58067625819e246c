#include "core/CommandLineTokens.h"

namespace {

bool IsWhiteSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

}  // namespace

void SplitTokens(const wchar_t* text, int length, StringList& tokens)
{
    tokens.Clear();
    if (!text || length <= 0)
        return;
    int position = 0;
    for (;;) {
        while (position < length && text[position] == L' ')
            ++position;
        if (position >= length)
            return;
        if (text[position] == L'"') {
            int start = position + 1;
            int end = start;
            while (end < length && text[end] != L'"')
                ++end;
            tokens.Append(String(text + start, end - start));
            // Past the closing quote, or at the end when there was none.
            position = end < length ? end + 1 : length;
        } else {
            int start = position;
            while (position < length && text[position] != L' ')
                ++position;
            tokens.Append(String(text + start, position - start));
        }
    }
}

void SplitCommandLine(const wchar_t* text, int length, StringList& arguments)
{
    arguments.Clear();
    if (!text || length <= 0)
        return;
    int begin = 0;
    int end = length;
    while (begin < end && IsWhiteSpace(text[begin]))
        ++begin;
    while (end > begin && IsWhiteSpace(text[end - 1]))
        --end;
    SplitTokens(text + begin, end - begin, arguments);
    if (!arguments.IsEmpty())
        arguments.RemoveAt(0);
}
