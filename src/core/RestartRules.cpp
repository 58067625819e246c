#include "core/RestartRules.h"

namespace {

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// Hexadecimal digits from position up to the first other character; false
// when there are none or the number does not fit 64 bits.
bool ReadHex(const String& text, int& position, uint64_t& value)
{
    int start = position;
    value = 0;
    for (; position < text.Length() && HexDigit(text[position]) >= 0; ++position) {
        if (value >> 60)
            return false;
        value = (value << 4) | static_cast<unsigned>(HexDigit(text[position]));
    }
    return position > start;
}

void AppendHex(String& text, uint64_t value)
{
    int shift = 60;
    while (shift > 0 && (value >> shift) == 0)
        shift -= 4;
    for (; shift >= 0; shift -= 4)
        text.Append(L"0123456789abcdef"[(value >> shift) & 0xF]);
}

bool IsInWindow(uint64_t time, uint64_t now)
{
    return time <= now && now - time < kRestartWindowMs;
}

}  // namespace

int RestartCodeFromText(const String& value)
{
    if (value.IsEmpty() || value.Length() > 3)
        return 0;
    int code = 0;
    for (int i = 0; i < value.Length(); ++i) {
        if (value[i] < L'0' || value[i] > L'9')
            return 0;
        code = code * 10 + (value[i] - L'0');
    }
    return code <= 255 ? code : 0;
}

String FormatRestartMark(const RestartMark& mark)
{
    String text;
    AppendHex(text, mark.parentId);
    text.Append(L';');
    for (int i = 0; i < mark.count; ++i) {
        if (i > 0)
            text.Append(L',');
        AppendHex(text, mark.times[i]);
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
    if (!ReadHex(text, position, number) || number > 0xFFFFFFFFu || position >= text.Length() ||
        text[position] != L';')
        return false;
    parsed.parentId = static_cast<unsigned long>(number);
    ++position;
    while (position < text.Length() && text[position] != L';') {
        if (parsed.count == kRestartsPerWindow || (parsed.count > 0 && text[position++] != L','))
            return false;
        if (!ReadHex(text, position, number))
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
