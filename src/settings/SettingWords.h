#pragma once

#include "base/Text.h"
#include "runtime/Version.h"

// Conversions of settings values into launch values, free of system calls.
// Words compare exactly unless a function says otherwise.

// "Yes" in any ASCII case ("Failure Check", "Override WorkingDir", ...).
bool IsYesAnyCase(const String& value);
// Only the lowercase word "yes" ("Single Instance", "Output Append", ...).
bool IsLowercaseYes(const String& value);

// "Application Type": only "service".
bool IsServiceApplication(const String& value);

// "JVM Type": "server" 1, "favor_server" 2, anything else 0.
int JvmTypeFromText(const String& value);

// "JVM Source".
struct JvmSourceFlags {
    bool jdkFirst;
    bool jreFirst;
    bool allowOtherKind;
};
JvmSourceFlags JvmSourceFromText(const String& value);

// "VM Provider", compared without regard to ASCII case. Empty or unknown
// words give the defaults (Sun runtimes only, preferred).
struct VmProviderFlags {
    bool allowJRockit;
    bool preferJRockit;
    bool allowSun;
    bool preferSun;
    bool allowIbm;
    bool preferIbm;
};
VmProviderFlags VmProviderFromText(const String& value);

// "Minimum Version" / "Maximum Version": exactly "any" is the open end
// (0.0.0.0 or 65535.65535.65535.65535, count 4); anything else is parsed with
// missing components 0 for the minimum and 65535 for the maximum.
JavaVersion MinimumVersionFromText(const String& value);
JavaVersion MaximumVersionFromText(const String& value);

// A "JRE Path" counts as absolute when it has at least two characters and
// starts with two backslashes or has ":" second.
bool IsAbsoluteSettingPath(const String& path);
// An empty or absolute value unchanged; any other value placed in the folder
// of modulePath (modulePath without its last component, then "\").
String CompleteSettingPath(const String& value, const String& modulePath);

// "Main Class" in the VM's internal form: every "." becomes "/".
String MainClassInternalName(const String& value);

// "Main Module": "module" or "module/class". The class may be written with
// "/" or "." between its packages; it is given to the runtime in its dotted
// form, so "app/com/example/Main" becomes "app/com.example.Main".
String MainModuleText(const String& value);
// The module of a "Main Module" text (before the first "/"), and its class
// (after it; empty when the module's own main class is meant).
String MainModuleName(const String& mainModule);
String MainModuleClass(const String& mainModule);
