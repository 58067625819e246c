#include "settings/JrePathWriter.h"

#include "base/Paths.h"
#include "base/UniqueResource.h"
#include "settings/SettingsFileBytes.h"
#include "settings/SettingsIndex.h"

#include <windows.h>

namespace {

// The file can be replaced: it is an ordinary file this process may write.
bool CanReplace(const String& path, DWORD attributes)
{
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
        return false;
    UniqueFileHandle probe(CreateFileW(path.CStr(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return probe.valid();
}

// The file starts with a UTF-16 byte-order mark (either byte order): the
// profile functions read and write it as UTF-16.
bool IsUtf16File(const String& path)
{
    UniqueFileHandle file(CreateFileW(path.CStr(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    unsigned char mark[2] = {};
    DWORD read = 0;
    if (!file.valid() || !ReadFile(file.get(), mark, sizeof(mark), &read, nullptr) || read != sizeof(mark))
        return false;
    return (mark[0] == 0xFF && mark[1] == 0xFE) || (mark[0] == 0xFE && mark[1] == 0xFF);
}

// text comes back unchanged from the ANSI code page, as the profile functions
// convert it for an 8-bit file (no character dropped, replaced or mapped to a
// look-alike). The 8-bit form is not used for anything else.
bool SurvivesAnsiFile(const String& text)
{
    if (text.IsEmpty())
        return true;
    int bytes = WideCharToMultiByte(CP_ACP, 0, text.CStr(), text.Length(), nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return false;
    AnsiString ansi;
    bytes = WideCharToMultiByte(CP_ACP, 0, text.CStr(), text.Length(), ansi.GetBuffer(bytes), bytes, nullptr, nullptr);
    if (bytes <= 0)
        return false;
    ansi.SetLength(bytes);
    int units = MultiByteToWideChar(CP_ACP, 0, ansi.CStr(), bytes, nullptr, 0);
    if (units != text.Length())
        return false;
    String back;
    units = MultiByteToWideChar(CP_ACP, 0, ansi.CStr(), bytes, back.GetBuffer(units), units);
    back.SetLength(units > 0 ? units : 0);
    return back == text;
}

// Writes the key into scratch, a new file, as a UTF-16 working copy of
// text (the content of a UTF-8 file), and turns the result back into UTF-8
// in the same form.
bool WriteUtf8Copy(const String& scratch, const String& text, SettingsTextForm form, const wchar_t* section,
                   const wchar_t* key, const String& value)
{
    if (!WriteSettingsFileBytes(scratch, Utf16FileBytes(text), CREATE_NEW) ||
        !WritePrivateProfileStringW(section, key, value.CStr(), scratch.CStr()))
        return false;
    AnsiString written;
    String updated;
    AnsiString utf8(SettingsTextMark(form));
    return ReadSettingsFileBytes(scratch, written) && TextOfUtf16File(written, updated) &&
           EncodeUtf8(updated.CStr(), updated.Length(), utf8) && WriteSettingsFileBytes(scratch, utf8, CREATE_ALWAYS);
}

}  // namespace

SettingWrite WriteSettingSafely(const String& path, const wchar_t* section, const wchar_t* key, const String& value,
                        bool createFolders)
{
    if (path.IsEmpty())
        return SettingWrite::NotWritten;
    if (createFolders)
        CreateParentDirectories(path);  // a failure shows in the write below
    DWORD attributes = GetFileAttributesW(path.CStr());
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && !CanReplace(path, attributes))
        return SettingWrite::NotWritten;
    String text;
    SettingsTextForm form = exists ? ReadSettingsText(path, text) : SettingsTextForm::System;
    AnsiString unused;
    if (form != SettingsTextForm::System && !EncodeUtf8(value.CStr(), value.Length(), unused))
        return SettingWrite::NotRepresentable;
    if (exists && form == SettingsTextForm::System && !IsUtf16File(path) && !SurvivesAnsiFile(value))
        return SettingWrite::NotRepresentable;

    String scratch = ScratchPathBeside(path);
    bool written;
    if (form != SettingsTextForm::System) {
        written = WriteUtf8Copy(scratch, text, form, section, key, value);
    } else {
        bool prepared = exists ? CopyFileW(path.CStr(), scratch.CStr(), TRUE) != FALSE
                               : WriteSettingsFileBytes(scratch, Utf16FileBytes(String()), CREATE_NEW);
        written = prepared && WritePrivateProfileStringW(section, key, value.CStr(), scratch.CStr()) != FALSE;
    }
    DWORD flags = MOVEFILE_WRITE_THROUGH | (exists ? MOVEFILE_REPLACE_EXISTING : 0);
    if (written && MoveFileExW(scratch.CStr(), path.CStr(), flags)) {
        ForgetSettingsFile(path);
        return SettingWrite::Written;
    }
    DeleteFileW(scratch.CStr());  // also when it was never made
    return SettingWrite::NotWritten;
}
