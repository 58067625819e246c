#include "settings/SettingsFileBytes.h"

#include "base/UniqueResource.h"

bool ReadSettingsFileBytes(HANDLE file, AnsiString& bytes)
{
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > kMaxConvertedSettingsBytes)
        return false;
    DWORD wanted = static_cast<DWORD>(size.QuadPart);
    DWORD read = 0;
    char* buffer = bytes.GetBuffer(static_cast<int>(wanted));
    if (wanted && !ReadFile(file, buffer, wanted, &read, nullptr))
        return false;
    bytes.SetLength(static_cast<int>(read));
    return read == wanted;
}

bool ReadSettingsFileBytes(const String& path, AnsiString& bytes)
{
    UniqueFileHandle file(CreateFileW(path.CStr(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() && ReadSettingsFileBytes(file.get(), bytes);
}

SettingsTextForm ReadSettingsText(const String& path, String& text)
{
    AnsiString bytes;
    if (!ReadSettingsFileBytes(path, bytes))
        return SettingsTextForm::System;
    SettingsTextForm form = ClassifySettingsText(bytes.CStr(), bytes.Length());
    if (form == SettingsTextForm::System)
        return form;
    int mark = AnsiString(SettingsTextMark(form)).Length();
    return DecodeUtf8(bytes.CStr() + mark, bytes.Length() - mark, text) ? form : SettingsTextForm::System;
}

AnsiString Utf16FileBytes(const String& text)
{
    AnsiString bytes("\xFF\xFE", 2);
    for (int i = 0; i < text.Length(); ++i) {
        bytes.Append(static_cast<char>(text[i] & 0xFF));
        bytes.Append(static_cast<char>((text[i] >> 8) & 0xFF));
    }
    return bytes;
}

bool TextOfUtf16File(const AnsiString& bytes, String& text)
{
    text.Clear();
    if (bytes.Length() < 2 || bytes.Length() % 2 != 0 || bytes[0] != '\xFF' || bytes[1] != '\xFE')
        return false;
    for (int i = 2; i < bytes.Length(); i += 2)
        text.Append(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return true;
}

bool WriteSettingsFileBytes(const String& path, const AnsiString& bytes, DWORD disposition)
{
    bool written = false;
    {
        UniqueFileHandle file(CreateFileW(path.CStr(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                                          nullptr));
        if (!file.valid())
            return false;
        DWORD done = 0;
        written = WriteFile(file.get(), bytes.CStr(), static_cast<DWORD>(bytes.Length()), &done, nullptr) &&
                  done == static_cast<DWORD>(bytes.Length());
    }
    if (!written)
        DeleteFileW(path.CStr());
    return written;
}

String ScratchPathBeside(const String& path)
{
    static LONG counter = 0;
    LONG number = InterlockedIncrement(&counter);
    wchar_t suffix[40] = {};
    wsprintfW(suffix, L".%lu-%ld.tmp", GetCurrentProcessId(), number);
    return path + suffix;
}
