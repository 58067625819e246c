#pragma once

#include "settings/EmbeddedStore.h"
#include "settings/SettingsFile.h"

// The settings file layered over the settings embedded in the executable.
// A value in the file replaces the embedded one; when the file has none, the
// same key of the section named with a "+" suffix is appended to the
// embedded value, after one space when both are non-empty.
class MergedSettings : public SettingsFile {
public:
    MergedSettings(const String& path, const String& embeddedText);

    String GetValue(const String& section, const String& key) override;
    // The same, with the file's values as written (see
    // SettingsFile::GetValueAsWritten), for lists of quoted tokens: the
    // file and the embedded settings then give the same tokens.
    String GetValueAsWritten(const String& section, const String& key);

    const EmbeddedStore& Embedded() const { return m_embedded; }

private:
    String Merge(const String& section, const String& key, bool asWritten);

    EmbeddedStore m_embedded;
};
