#pragma once

#include "base/List.h"
#include "base/Text.h"
#include "settings/Utf16SettingsCopy.h"

#include <windows.h>

// Reads and writes one INI file through the system's private-profile
// functions. Missing files, sections and keys read as empty; values of any
// length are read whole. A UTF-8 file is read through a UTF-16 copy and
// written so that it stays UTF-8 (Utf16SettingsCopy.h, JrePathWriter.h).
class SettingsFile {
public:
    explicit SettingsFile(const String& path) : m_path(path) {}
    virtual ~SettingsFile() = default;
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    // Reads the first four bytes of the file (opened without sharing).
    // Returns 0, or the system error of the failed open or read; a file of
    // fewer than four bytes gives ERROR_HANDLE_EOF.
    virtual DWORD ReadHeader(void* buffer4);
    virtual String GetValue(const String& section, const String& key);
    // The value as the file writes it: the system's reader strips one pair
    // of quotes around a whole value, which for a list of quoted tokens
    // ("-Dtitle=My App") would split the one token in two. Otherwise the
    // same as GetValue.
    String GetValueAsWritten(const String& section, const String& key);
    // Replaces names with the file's section names in file order.
    virtual void GetSectionNames(StringList& names);
    virtual BOOL SetValue(const String& section, const String& key, const String& value);
    virtual BOOL Delete();

    const String& Path() const { return m_path; }

private:
    // The file the profile functions read, chosen on this reader's first
    // question together with the check of the file's layout: one reader sees
    // one state of the file.
    const String& ReadPath();

    String m_path;
    bool m_indexChecked = false;
    SettingsReadSource m_source;
};
