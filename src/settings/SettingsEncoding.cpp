#include "settings/SettingsEncoding.h"

namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";

bool StartsWith(const char* bytes, int length, const char* prefix, int prefixLength)
{
    if (length < prefixLength)
        return false;
    for (int i = 0; i < prefixLength; ++i)
        if (bytes[i] != prefix[i])
            return false;
    return true;
}

bool IsAsciiOnly(const char* bytes, int length)
{
    for (int i = 0; i < length; ++i)
        if (static_cast<unsigned char>(bytes[i]) > 0x7F)
            return false;
    return true;
}

void AppendUnit(String& text, unsigned long codePoint)
{
    if (codePoint < 0x10000) {
        text.Append(static_cast<wchar_t>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    text.Append(static_cast<wchar_t>(0xD800 + (codePoint >> 10)));
    text.Append(static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF)));
}

}  // namespace

SettingsTextForm ClassifySettingsText(const char* bytes, int length)
{
    if (StartsWith(bytes, length, "\xFF\xFE", 2) || StartsWith(bytes, length, "\xFE\xFF", 2))
        return SettingsTextForm::System;
    String ignored;
    if (StartsWith(bytes, length, kUtf8Mark, 3))
        return DecodeUtf8(bytes + 3, length - 3, ignored) ? SettingsTextForm::Utf8WithMark : SettingsTextForm::System;
    // Plain ASCII reads the same in every form; keep the system's way for it.
    if (IsAsciiOnly(bytes, length) || !DecodeUtf8(bytes, length, ignored))
        return SettingsTextForm::System;
    return SettingsTextForm::Utf8;
}

const char* SettingsTextMark(SettingsTextForm form)
{
    return form == SettingsTextForm::Utf8WithMark ? kUtf8Mark : "";
}

bool DecodeUtf8(const char* bytes, int length, String& text)
{
    text.Clear();
    text.GetBuffer(length);  // never more units than bytes
    for (int i = 0; i < length;) {
        unsigned char lead = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        unsigned long codePoint = lead;
        unsigned long minimum = 0;
        if (lead < 0x80) {
            extra = 0;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1, codePoint = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2, codePoint = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3, codePoint = lead & 0x07, minimum = 0x10000;
        } else {
            return false;  // a continuation byte, an overlong two-byte lead or past U+10FFFF
        }
        if (extra > length - i - 1)
            return false;
        for (int k = 1; k <= extra; ++k) {
            unsigned char next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return false;
        AppendUnit(text, codePoint);
        i += extra + 1;
    }
    return true;
}

bool EncodeUtf8(const wchar_t* text, int length, AnsiString& bytes)
{
    for (int i = 0; i < length; ++i) {
        unsigned long c = static_cast<unsigned short>(text[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<unsigned short>(text[i + 1]) - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return false;
        }
        if (c < 0x80) {
            bytes.Append(static_cast<char>(c));
        } else if (c < 0x800) {
            bytes.Append(static_cast<char>(0xC0 | (c >> 6)));
            bytes.Append(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            bytes.Append(static_cast<char>(0xE0 | (c >> 12)));
            bytes.Append(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            bytes.Append(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            bytes.Append(static_cast<char>(0xF0 | (c >> 18)));
            bytes.Append(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            bytes.Append(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            bytes.Append(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return true;
}
