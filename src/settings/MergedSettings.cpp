#include "settings/MergedSettings.h"

MergedSettings::MergedSettings(const String& path, const String& embeddedText) : SettingsFile(path)
{
    m_embedded.Parse(embeddedText);
}

String MergedSettings::GetValue(const String& section, const String& key)
{
    String result;
    if (const String* embedded = m_embedded.Find(section, key))
        result = *embedded;
    String fileValue = SettingsFile::GetValue(section, key);
    if (!fileValue.IsEmpty())
        return fileValue;
    String appended = SettingsFile::GetValue(section + L'+', key);
    if (!appended.IsEmpty()) {
        // One space between two values; a value that stands alone gets none,
        // so that words ("server", "Yes") and the first class path or VM
        // parameter item stay exactly as written.
        if (!result.IsEmpty() && appended[0] != L' ')
            result.Append(L' ');
        result.Append(appended);
    }
    return result;
}
