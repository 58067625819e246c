#pragma once

#include "base/Text.h"

class LauncherApp;

// Where the settings files are. Every path is formed afresh from the module
// path, the product settings and APPDATA at the moment of the call.

// The launcher's module path with the part after its last "." replaced by
// "ini". False when the module path cannot be had (its message has then been
// shown) or has no ".".
bool GetSettingsFilePath(String& path);

// APPDATA\<product folder>\<Product Code>\<launcher base name>.ini; with
// create, the two folders are made first (errors ignored). Empty when the
// module path cannot be had.
String GetPerUserSettingsFilePath(const LauncherApp& app, bool create);

// root\<product folder>\<Product Code>, named as the per-user settings file's
// folder is under APPDATA; with create, the two folders are made first
// (errors ignored).
String GetPerUserFolder(const LauncherApp& app, const String& root, bool create);

// The same two rules applied to "Pair Product". The pair settings path is
// false when "Pair Product" is empty or has no "."; the pair per-user path is
// empty when "Pair Product" is empty and otherwise always creates its folders.
bool GetPairSettingsFilePath(const LauncherApp& app, String& path);
String GetPairPerUserSettingsFilePath(const LauncherApp& app);

// Remembers the runtime folder the user picked as "JRE Path": in the per-user
// file (and the pair's per-user file) for an application, in the settings file
// (and the pair's settings file) for a service. Write failures are ignored;
// nothing is written when the settings file path cannot be formed.
void StoreChosenRuntimeFolder(const LauncherApp& app, const String& folder);
