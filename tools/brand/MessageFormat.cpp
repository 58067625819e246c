#include "MessageFormat.h"

namespace {

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

// The end of the conversion that starts with the "%" at start: flags,
// width, precision and size prefix, then the type character (any character,
// since an unknown one is still read by some formatter); the text's end when
// it stops early.
size_t ConversionEnd(const std::wstring& text, size_t start)
{
    size_t at = start + 1;
    while (at < text.size() && std::wstring(L"-+ #0").find(text[at]) != std::wstring::npos)
        ++at;
    while (at < text.size() && (IsDigit(text[at]) || text[at] == L'*'))
        ++at;
    if (at < text.size() && text[at] == L'.') {
        ++at;
        while (at < text.size() && (IsDigit(text[at]) || text[at] == L'*'))
            ++at;
    }
    while (at < text.size() && std::wstring(L"hlLwIjzt").find(text[at]) != std::wstring::npos) {
        ++at;
        while (at < text.size() && IsDigit(text[at]))  // I32, I64
            ++at;
    }
    return at < text.size() ? at + 1 : text.size();
}

}  // namespace

std::vector<std::wstring> Conversions(const std::wstring& text)
{
    std::vector<std::wstring> found;
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] != L'%')
            continue;
        if (at + 1 < text.size() && text[at + 1] == L'%') {
            ++at;
            continue;
        }
        size_t end = ConversionEnd(text, at);
        found.push_back(text.substr(at, end - at));
        at = end - 1;
    }
    return found;
}

bool KeepsConversions(const std::wstring& original, const std::wstring& replacement)
{
    return Conversions(original) == Conversions(replacement);
}

std::wstring FillConversions(const std::wstring& format, const std::wstring& value)
{
    std::wstring filled;
    for (size_t at = 0; at < format.size(); ++at) {
        if (format[at] != L'%') {
            filled += format[at];
        } else if (at + 1 < format.size() && format[at + 1] == L'%') {
            filled += L'%';
            ++at;
        } else {
            filled += value;
            at = ConversionEnd(format, at) - 1;
        }
    }
    return filled;
}
