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

    const EmbeddedStore& Embedded() const { return m_embedded; }

private:
    EmbeddedStore m_embedded;
};
