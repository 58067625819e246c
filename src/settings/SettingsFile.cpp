#include "settings/SettingsFile.h"

#include "base/UniqueResource.h"
#include "settings/GrowingBuffer.h"
#include "settings/JrePathWriter.h"
#include "settings/SettingsFileBytes.h"
#include "settings/SettingsIndex.h"

DWORD SettingsFile::ReadHeader(void* buffer4)
{
    UniqueFileHandle file(CreateFileW(m_path.CStr(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError();
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer4, 4, &read, nullptr))
        return GetLastError();
    // A short file must not pass for a read header: the caller would look at
    // bytes that were never filled.
    if (read != 4)
        return ERROR_HANDLE_EOF;
    return 0;
}

const String& SettingsFile::ReadPath()
{
    if (!m_indexChecked) {
        GetSettingsReadSource(m_path, m_source);
        m_indexChecked = true;
    }
    return m_source.path;
}

String SettingsFile::GetValue(const String& section, const String& key)
{
    String value;
    const String& readPath = ReadPath();
    if (!SettingsFileMayHold(m_path, section, key, false))
        return value;
    ReadIntoGrowingBuffer(value, 256, 1, [&](wchar_t* buffer, int size) {
        return static_cast<int>(GetPrivateProfileStringW(section.CStr(), key.CStr(), L"", buffer,
                                                         static_cast<DWORD>(size), readPath.CStr()));
    });
    // The text ends at the terminator the system wrote.
    value.SetLengthToTerminator();
    return value;
}

String SettingsFile::GetValueAsWritten(const String& section, const String& key)
{
    String value = SettingsFile::GetValue(section, key);
    if (value.IsEmpty())
        return value;
    // The section's own lines keep the quotes; the first line of the key is
    // the one the system read.
    StringList lines;
    ReadZeroSeparatedList(lines, [&](wchar_t* buffer, int size) {
        return static_cast<int>(GetPrivateProfileSectionW(section.CStr(), buffer, static_cast<DWORD>(size), ReadPath().CStr()));
    });
    for (const String& line : lines) {
        int equals = line.Find(L'=');
        if (equals < 0 || !line.Left(equals).Trimmed().EqualsNoCase(key.CStr()))
            continue;
        String written = line.Mid(equals + 1).Trimmed();
        bool quoted = written.Length() == value.Length() + 2 && written[0] == written.Last() &&
                      (written[0] == L'"' || written[0] == L'\'') && written.Mid(1, value.Length()) == value;
        return quoted ? written : value;
    }
    return value;
}

void SettingsFile::GetSectionNames(StringList& names)
{
    names.Clear();
    ReadZeroSeparatedList(names, [&](wchar_t* buffer, int size) {
        return static_cast<int>(GetPrivateProfileSectionNamesW(buffer, static_cast<DWORD>(size), ReadPath().CStr()));
    });
}

BOOL SettingsFile::SetValue(const String& section, const String& key, const String& value)
{
    // The system would write a UTF-8 file's new line in the ANSI code page.
    String text;
    BOOL written = ReadSettingsText(m_path, text) != SettingsTextForm::System
                       ? WriteSettingSafely(m_path, section.CStr(), key.CStr(), value, false) == SettingWrite::Written
                       : WritePrivateProfileStringW(section.CStr(), key.CStr(), value.CStr(), m_path.CStr());
    ForgetSettingsFile(m_path);
    m_indexChecked = false;  // this reader reads what it wrote
    return written;
}

BOOL SettingsFile::Delete()
{
    BOOL deleted = DeleteFileW(m_path.CStr());
    ForgetSettingsFile(m_path);
    m_indexChecked = false;
    return deleted;
}
