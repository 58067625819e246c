#include "settings/MergedSettings.h"

MergedSettings::MergedSettings(const String& path, const String& embeddedText) : SettingsFile(path)
{
    m_embedded.Parse(embeddedText);
}

String MergedSettings::GetValue(const String& section, const String& key)
{
    return Merge(section, key, false);
}

String MergedSettings::GetValueAsWritten(const String& section, const String& key)
{
    return Merge(section, key, true);
}

String MergedSettings::Merge(const String& section, const String& key, bool asWritten)
{
    String result;
    if (const String* embedded = m_embedded.Find(section, key))
        result = *embedded;
    String fileValue = asWritten ? SettingsFile::GetValueAsWritten(section, key) : SettingsFile::GetValue(section, key);
    if (!fileValue.IsEmpty())
        return fileValue;
    String plusSection = section + L'+';
    String appended = asWritten ? SettingsFile::GetValueAsWritten(plusSection, key)
                                : SettingsFile::GetValue(plusSection, key);
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
