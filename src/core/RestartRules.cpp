#include "core/RestartRules.h"

namespace {

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

// Digits from position up to the first non-digit; false when there are none
// or the number exceeds limit.
bool ReadNumber(const String& text, int& position, uint64_t limit, uint64_t& value)
{
    int start = position;
    value = 0;
    while (position < text.Length() && IsDigit(text[position])) {
        uint64_t digit = static_cast<uint64_t>(text[position] - L'0');
        if (value > (limit - digit) / 10)
            return false;
        value = value * 10 + digit;
        ++position;
    }
    return position > start;
}

void AppendNumber(String& text, uint64_t value)
{
    wchar_t digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0)
        text.Append(digits[--count]);
}

bool IsInWindow(uint64_t time, uint64_t now)
{
    return time <= now && now - time < kRestartWindowMs;
}

}  // namespace

int RestartCodeFromText(const String& value)
{
    int position = 0;
    uint64_t code = 0;
    if (!ReadNumber(value, position, 255, code) || position != value.Length())
        return 0;
    return static_cast<int>(code);
}

String FormatRestartMark(const RestartMark& mark)
{
    String text;
    AppendNumber(text, mark.parentId);
    text.Append(L';');
    for (int i = 0; i < mark.count; ++i) {
        if (i > 0)
            text.Append(L',');
        AppendNumber(text, mark.times[i]);
    }
    text.Append(L';');
    text.Append(mark.instanceName);
    return text;
}

bool ParseRestartMark(const String& text, RestartMark& mark)
{
    RestartMark parsed;
    int position = 0;
    uint64_t number = 0;
    if (!ReadNumber(text, position, 0xFFFFFFFFull, number) || position >= text.Length() || text[position] != L';')
        return false;
    parsed.parentId = static_cast<unsigned long>(number);
    ++position;
    while (position < text.Length() && text[position] != L';') {
        if (parsed.count == kRestartsPerWindow || (parsed.count > 0 && text[position++] != L','))
            return false;
        if (!ReadNumber(text, position, UINT64_MAX, number))
            return false;
        parsed.times[parsed.count++] = number;
    }
    if (position >= text.Length())
        return false;
    parsed.instanceName = text.Mid(position + 1);
    mark = parsed;
    return true;
}

bool RecordRestart(RestartMark& mark, uint64_t now)
{
    uint64_t kept[kRestartsPerWindow];
    int count = 0;
    for (int i = 0; i < mark.count && i < kRestartsPerWindow; ++i)
        if (IsInWindow(mark.times[i], now))
            kept[count++] = mark.times[i];
    if (count >= kRestartsPerWindow)
        return false;
    kept[count++] = now;
    for (int i = 0; i < count; ++i)
        mark.times[i] = kept[i];
    mark.count = count;
    return true;
}
