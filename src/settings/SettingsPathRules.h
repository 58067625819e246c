#pragma once

#include "base/Text.h"

// Path rules for the settings files, free of system calls.

// The path up to and including its last "." (anywhere in the path, folders
// included), followed by "ini". False when the path has no ".".
bool SettingsPathFor(const String& path, String& settingsPath);

// The part after the last "\" (the whole path without one), cut before its
// last "." when it has one.
String SettingsBaseName(const String& path);

// "Product Name" without the characters \ ? " | > < : / * (others stay).
String ProductFolderName(const String& productName);

// root\productFolder\productCode: the per-user folder under APPDATA (for the
// settings file) or LOCALAPPDATA (for the class-data archives).
String JoinPerUserFolder(const String& root, const String& productFolder, const String& productCode);

// appData\productFolder\productCode\baseName.ini
String JoinPerUserSettingsPath(const String& appData, const String& productFolder, const String& productCode,
                               const String& baseName);
