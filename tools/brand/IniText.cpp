#include "IniText.h"

#include "Utf8.h"

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
// it is not.
bool DecodeUtf8(const Bytes& data, size_t start, std::wstring& text)
{
    for (size_t at = start, length = 0; at < data.size(); at += length) {
        uint32_t c = 0;
        if (!NextUtf8(data.data(), data.size(), at, c, length))
            return false;
        AppendUtf16(text, c);
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
    if (start || !decodeAnsi) {
        reason = start ? L"it starts with a UTF-8 byte-order mark but is not UTF-8"
                       : L"it is not UTF-8 (save it as UTF-8, or as UTF-16 with a byte-order mark)";
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
