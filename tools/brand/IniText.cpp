#include "IniText.h"

namespace {

bool IsTextUnit(uint32_t c)
{
    return c >= 0x20 || c == L'\t' || c == L'\r' || c == L'\n';
}

std::wstring NotText(size_t offset)
{
    return L"it is not text (a zero byte or control character at byte " + std::to_wstring(offset) +
           L"; UTF-16 text needs a byte-order mark)";
}

bool DecodeUtf16(const Bytes& data, size_t start, bool bigEndian, std::wstring& text, std::wstring& reason)
{
    if ((data.size() - start) % 2) {
        reason = L"it has an odd number of bytes after its UTF-16 byte-order mark";
        return false;
    }
    for (size_t at = start; at < data.size(); at += 2) {
        wchar_t c = static_cast<wchar_t>(bigEndian ? (data[at] << 8) | data[at + 1] : data[at] | (data[at + 1] << 8));
        if (!IsTextUnit(c)) {
            reason = NotText(at);
            return false;
        }
        text += c;
    }
    return true;
}

// Appends the UTF-16 form of the strict UTF-8 in data[start, end); false when
// it is not (overlong forms, surrogates, values above U+10FFFF, cut-off sequences).
bool DecodeUtf8(const Bytes& data, size_t start, std::wstring& text)
{
    for (size_t at = start; at < data.size();) {
        uint32_t lead = data[at];
        size_t extra = lead < 0x80 ? 0 : lead >= 0xC2 && lead <= 0xDF ? 1 : lead >= 0xE0 && lead <= 0xEF ? 2
                                                                     : lead >= 0xF0 && lead <= 0xF4 ? 3 : 99;
        if (extra == 99 || data.size() - at - 1 < extra)
            return false;
        uint32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (size_t k = 1; k <= extra; ++k) {
            if ((data[at + k] & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (data[at + k] & 0x3F);
        }
        static const uint32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
        if (c < kSmallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        if (c >= 0x10000) {
            text += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            text += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            text += static_cast<wchar_t>(c);
        }
        at += 1 + extra;
    }
    return true;
}

}  // namespace

bool DecodeIniText(const Bytes& data, AnsiDecoder decodeAnsi, std::wstring& text, std::wstring& reason)
{
    text.clear();
    if (data.size() >= 2 && data[0] == 0xFF && data[1] == 0xFE)
        return DecodeUtf16(data, 2, false, text, reason);
    if (data.size() >= 2 && data[0] == 0xFE && data[1] == 0xFF)
        return DecodeUtf16(data, 2, true, text, reason);
    size_t start = data.size() >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF ? 3 : 0;
    for (size_t at = start; at < data.size(); ++at) {
        if (!IsTextUnit(data[at])) {
            reason = NotText(at);
            return false;
        }
    }
    if (DecodeUtf8(data, start, text))
        return true;
    if (start) {
        reason = L"it starts with a UTF-8 byte-order mark but is not UTF-8";
        return false;
    }
    text = decodeAnsi(data.data(), data.size());
    return true;
}

Bytes EmbeddedSettingsData(const std::wstring& text)
{
    Bytes data;
    PutU16(data, 0xFEFF);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
            PutU16(data, L'\r');
            PutU16(data, L'\n');
            continue;
        }
        PutU16(data, static_cast<uint16_t>(text[i]));
    }
    return data;
}
