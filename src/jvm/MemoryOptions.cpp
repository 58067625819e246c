#include "jvm/MemoryOptions.h"

namespace {

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

bool HasMemoryPrefix(const String& parameter)
{
    return parameter.StartsWith(L"-Xms") || parameter.StartsWith(L"-Xmx") || parameter.StartsWith(L"-Xss");
}

// n * 10 + digit, or false when that does not fit in 32 bits.
bool AppendDigit(uint32_t& n, wchar_t digit)
{
    uint64_t next = static_cast<uint64_t>(n) * 10 + static_cast<uint32_t>(digit - L'0');
    if (next > UINT32_MAX) {
        n = UINT32_MAX;
        return false;
    }
    n = static_cast<uint32_t>(next);
    return true;
}

}  // namespace

NumberList ParseNumberList(const wchar_t* text, int length)
{
    NumberList list;
    if (!text || length <= 0)
        return list;
    int prefix = 0;
    while (prefix < length && !IsDigit(text[prefix]) && text[prefix] != L':')
        ++prefix;
    list.prefixLength = prefix;
    if (prefix == length)
        return list;

    list.count = 1;
    uint32_t current = 0;  // the number being read, also past the third
    for (int i = prefix; i < length - 1; ++i) {
        wchar_t c = text[i];
        if (IsDigit(c)) {
            if (!AppendDigit(current, c))
                list.overflow = list.overflow || list.count <= 3;
            if (list.count <= 3)
                list.values[list.count - 1] = current;
        } else if (c == L':') {
            if (list.count < 0x7FFFFFFF)
                ++list.count;
            current = 0;
        }
    }
    return list;
}

bool IsRelativeMemoryOption(const String& parameter)
{
    if (!HasMemoryPrefix(parameter))
        return false;
    wchar_t last = parameter.Last();
    return last == L'P' || last == L'p' || last == L'T' || last == L't';
}

String ResolveMemoryOption(const String& parameter, const MemoryFigures& figures)
{
    NumberList numbers = ParseNumberList(parameter);
    uint64_t percent = numbers.At(0);
    uint64_t lower = numbers.At(1);
    uint64_t upper = numbers.At(2);

    wchar_t letter = parameter.Last();
    uint64_t reference = (letter == L'T' || letter == L't') ? figures.availableVirtual : figures.totalPhysical;
    uint64_t kb = reference / 1024;

    // Percentages above 100 and bounds near 4 GB MB can pass any 32-bit
    // range, so the arithmetic is wide and the result is held at the largest
    // size the option can carry.
    const double largest = 2147483647.0;
    double scaled = static_cast<double>(kb) * (static_cast<double>(percent) / 100.0);
    uint64_t size = scaled >= largest ? static_cast<uint64_t>(largest) : static_cast<uint64_t>(scaled);
    if (upper != 0 && size > upper * 1024)
        size = upper * 1024;
    if (size < lower * 1024)
        size = lower * 1024;
    if (size > 0x7FFFFFFF)
        size = 0x7FFFFFFF;

    String result = parameter.Left(numbers.prefixLength);
    wchar_t digits[12];
    int n = 0;
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + size % 10);
        size /= 10;
    } while (size);
    while (n > 0)
        result.Append(digits[--n]);
    result.Append(L'K');
    return result;
}

uint32_t StackSizeFromParameter(const String& parameter)
{
    if (!parameter.StartsWith(L"-Xss"))
        return 0;
    String tail = parameter.Mid(4);
    NumberList numbers = ParseNumberList(tail);
    if (numbers.prefixLength != 0 || numbers.count != 1 || numbers.overflow)
        return 0;
    uint64_t value = numbers.values[0];
    uint64_t multiplier = 1;
    switch (tail.Last()) {
    case L'G':
    case L'g':
        multiplier = 1073741824;
        break;
    case L'K':
    case L'k':
        multiplier = 1024;
        break;
    case L'M':
    case L'm':
        multiplier = 1048576;
        break;
    default:
        if (IsDigit(tail.Last()))
            value = value * 10 + static_cast<uint32_t>(tail.Last() - L'0');
        break;
    }
    uint64_t bytes = value * multiplier;
    return bytes > UINT32_MAX ? 0 : static_cast<uint32_t>(bytes);
}
