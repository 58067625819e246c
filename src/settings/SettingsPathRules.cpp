#include "settings/SettingsPathRules.h"

bool SettingsPathFor(const String& path, String& settingsPath)
{
    int dot = path.ReverseFind(L'.');
    if (dot < 0)
        return false;
    settingsPath = path.Left(dot + 1);
    settingsPath.Append(L"ini");
    return true;
}

String SettingsBaseName(const String& path)
{
    String name = path.Mid(path.ReverseFind(L'\\') + 1);
    int dot = name.ReverseFind(L'.');
    if (dot >= 0)
        name.Truncate(dot);
    return name;
}

String ProductFolderName(const String& productName)
{
    static const wchar_t kInvalid[] = L"\\?\"|><:/*";
    String folder;
    for (int i = 0; i < productName.Length(); ++i) {
        wchar_t c = productName[i];
        bool invalid = false;
        for (const wchar_t* p = kInvalid; *p; ++p)
            invalid = invalid || c == *p;
        if (!invalid)
            folder.Append(c);
    }
    return folder;
}

String JoinPerUserFolder(const String& root, const String& productFolder, const String& productCode)
{
    String path(root);
    path.Append(L'\\');
    path.Append(productFolder);
    path.Append(L'\\');
    path.Append(productCode);
    return path;
}

String JoinPerUserSettingsPath(const String& appData, const String& productFolder, const String& productCode,
                               const String& baseName)
{
    String path = JoinPerUserFolder(appData, productFolder, productCode);
    path.Append(L'\\');
    path.Append(baseName);
    path.Append(L".ini");
    return path;
}
