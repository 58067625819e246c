#include "base/Encoding.h"

#include <windows.h>

String FromAnsi(const char* text)
{
    String result;
    if (!text)
        return result;
    int size = MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, nullptr, 0);
    if (size <= 1)
        return result;
    wchar_t* buffer = result.GetBuffer(size - 1);
    int written = MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, buffer, size);
    if (written <= 0 || written > size)
        RaiseFatalError(kFatalInvalidArg);
    result.SetLength(written - 1);
    return result;
}

namespace {

// One WideCharToMultiByte pass into buffer (or a measurement without one).
// Code pages without a default character (UTF-8 as the system's ANSI code
// page) refuse the best-fit flag and the used-default report; they carry
// every well-formed text and say so through WC_ERR_INVALID_CHARS.
int ConvertToAnsi(const wchar_t* text, char* buffer, int size, bool* lossless)
{
    BOOL usedDefault = FALSE;
    int result = WideCharToMultiByte(CP_THREAD_ACP, WC_NO_BEST_FIT_CHARS, text, -1, buffer, size, nullptr,
                                     &usedDefault);
    if (result == 0 && (GetLastError() == ERROR_INVALID_FLAGS || GetLastError() == ERROR_INVALID_PARAMETER)) {
        result = WideCharToMultiByte(CP_THREAD_ACP, WC_ERR_INVALID_CHARS, text, -1, buffer, size, nullptr, nullptr);
        usedDefault = result == 0 && GetLastError() == ERROR_NO_UNICODE_TRANSLATION;
        if (usedDefault)
            result = WideCharToMultiByte(CP_THREAD_ACP, 0, text, -1, buffer, size, nullptr, nullptr);
    }
    if (lossless)
        *lossless = !usedDefault;
    return result;
}

}  // namespace

AnsiString ToAnsi(const wchar_t* text, bool* lossless)
{
    AnsiString result;
    if (lossless)
        *lossless = true;
    if (!text)
        return result;
    int size = ConvertToAnsi(text, nullptr, 0, lossless);
    if (size < 2)
        return result;
    char* buffer = result.GetBuffer(size - 1);
    int written = ConvertToAnsi(text, buffer, size, lossless);
    if (written <= 0 || written > size)
        RaiseFatalError(kFatalInvalidArg);
    result.SetLength(written - 1);
    return result;
}

bool SurvivesAnsi(const String& text)
{
    bool lossless = true;
    if (!text.IsEmpty())
        ConvertToAnsi(text.CStr(), nullptr, 0, &lossless);
    return lossless;
}

int ThreadAnsiCodePage()
{
    CPINFOEXW info;
    return GetCPInfoExW(CP_THREAD_ACP, 0, &info) ? static_cast<int>(info.CodePage) : static_cast<int>(GetACP());
}

AnsiString ToModifiedUtf8(const String& text)
{
    AnsiString result;
    for (int i = 0; i < text.Length(); ++i) {
        unsigned c = static_cast<unsigned short>(text[i]);
        if (c != 0 && c < 0x80) {
            result.Append(static_cast<char>(c));
        } else if (c < 0x800) {
            result.Append(static_cast<char>(0xC0 | (c >> 6)));
            result.Append(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            result.Append(static_cast<char>(0xE0 | (c >> 12)));
            result.Append(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            result.Append(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return result;
}

AnsiString ToUtf8(const String& text)
{
    AnsiString result;
    if (text.IsEmpty())
        return result;
    int size = WideCharToMultiByte(CP_UTF8, 0, text.CStr(), text.Length(), nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return result;
    int written = WideCharToMultiByte(CP_UTF8, 0, text.CStr(), text.Length(), result.GetBuffer(size), size, nullptr,
                                      nullptr);
    result.SetLength(written > 0 && written <= size ? written : 0);
    return result;
}

String DecodeModifiedUtf8(const char* text)
{
    String result;
    if (!text)
        return result;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    auto continuation = [](unsigned char c) { return (c & 0xC0) == 0x80; };
    while (*p) {
        unsigned char c = *p;
        if (c < 0x80) {
            result.Append(static_cast<wchar_t>(c));
            p += 1;
        } else if ((c & 0xE0) == 0xC0 && continuation(p[1])) {
            result.Append(static_cast<wchar_t>(((c & 0x1F) << 6) | (p[1] & 0x3F)));
            p += 2;
        } else if ((c & 0xF0) == 0xE0 && continuation(p[1]) && continuation(p[2])) {
            result.Append(static_cast<wchar_t>(((c & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F)));
            p += 3;
        } else {
            // A broken or four-byte sequence: skip the lead byte and its
            // continuation bytes, never the terminator.
            result.Append(static_cast<wchar_t>(0xFFFD));
            p += 1;
            while (*p && continuation(*p))
                ++p;
        }
    }
    return result;
}
