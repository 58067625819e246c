#include "Utf8.h"

namespace {

void Append(std::string& out, uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

bool NextUtf8(const uint8_t* data, size_t size, size_t at, uint32_t& c, size_t& length)
{
    uint32_t lead = data[at];
    size_t extra = lead < 0x80 ? 0 : lead >= 0xC2 && lead <= 0xDF ? 1 : lead >= 0xE0 && lead <= 0xEF ? 2
                                : lead >= 0xF0 && lead <= 0xF4 ? 3 : 4;
    c = extra == 0 ? lead : lead & (0x3F >> extra);
    length = 1;
    for (; extra < 4 && length <= extra && at + length < size && (data[at + length] & 0xC0) == 0x80; ++length)
        c = (c << 6) | (data[at + length] & 0x3F);
    static const uint32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
    return extra < 4 && length == extra + 1 && c >= kSmallest[extra] && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

void AppendUtf16(std::wstring& text, uint32_t c)
{
    if (c >= 0x10000) {
        text += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
        text += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
        text += static_cast<wchar_t>(c);
    }
}

std::wstring Utf8ToUtf16(const std::string& bytes)
{
    std::wstring text;
    const uint8_t* data = reinterpret_cast<const uint8_t*>(bytes.data());
    for (size_t at = 0, length = 0; at < bytes.size(); at += length) {
        uint32_t c = 0;
        AppendUtf16(text, NextUtf8(data, bytes.size(), at, c, length) ? c : 0xFFFD);
    }
    return text;
}

std::string Utf16ToUtf8(const std::wstring& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = static_cast<uint32_t>(text[i]) & 0xFFFF;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && (text[i + 1] & 0xFC00) == 0xDC00) {
            c = 0x10000 + ((c - 0xD800) << 10) + ((static_cast<uint32_t>(text[i + 1]) & 0xFFFF) - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        Append(out, c);
    }
    return out;
}
