#include "ui/LinkColour.h"

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

// Reads [begin, end) like _wtol: leading blanks, an optional sign, then
// digits up to the first other character. No digits give 0; values beyond
// the 32-bit range stop at its ends.
int32_t ReadLong(const wchar_t* begin, const wchar_t* end)
{
    while (begin < end && IsBlank(*begin))
        ++begin;
    bool negative = false;
    if (begin < end && (*begin == L'-' || *begin == L'+')) {
        negative = *begin == L'-';
        ++begin;
    }
    int64_t value = 0;
    for (; begin < end && *begin >= L'0' && *begin <= L'9'; ++begin) {
        value = value * 10 + (*begin - L'0');
        if (value > 0x80000000LL)
            value = 0x80000000LL;  // far enough to clamp either way
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        value = INT32_MAX;
    return static_cast<int32_t>(value);
}

const wchar_t* FindComma(const wchar_t* begin, const wchar_t* end)
{
    while (begin < end && *begin != L',')
        ++begin;
    return begin;
}

}  // namespace

bool ParseLinkColourText(const wchar_t* text, int length, uint32_t& colour)
{
    if (!text || length < 0)
        return false;
    const wchar_t* end = text + length;
    const wchar_t* first = FindComma(text, end);
    if (first == end)
        return false;
    const wchar_t* second = FindComma(first + 1, end);
    if (second == end || second + 1 == end)
        return false;
    int32_t red = ReadLong(text, first);
    int32_t green = ReadLong(first + 1, second);
    int32_t blue = ReadLong(second + 1, end);
    if (red == -1 || green == -1)
        return false;
    colour = (static_cast<uint32_t>(red) & 0xFF) | ((static_cast<uint32_t>(green) & 0xFF) << 8) |
             ((static_cast<uint32_t>(blue) & 0xFF) << 16);
    return true;
}

bool ParseLinkColourValue(const wchar_t* units, uint32_t byteSize, uint32_t& colour)
{
    if (byteSize == 0)
        return ParseLinkColourText(units, 0, colour);
    if (byteSize % 2 != 0)
        return false;
    int count = static_cast<int>(byteSize / 2);
    if (units[count - 1] != 0)
        return false;
    int length = 0;
    while (length < count && units[length] != 0)
        ++length;
    return ParseLinkColourText(units, length, colour);
}
