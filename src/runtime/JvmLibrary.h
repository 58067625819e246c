#pragma once

#include "base/Text.h"

enum class JvmType : int;

// Where a runtime home keeps its JVM library. home ends in a backslash; the
// sub-paths are appended as they are. Server looks only at "bin\server\";
// favor_server looks there first, then everywhere "any" looks. isServer is
// written only when a library is found. Empty when there is none.
String FindJvmLibrary(const String& home, JvmType type, bool& isServer);

// home holds "bin\java.dll": it looks like a runtime home.
bool HasJavaDll(const String& home);

// Something (a file or a directory) exists under that name.
bool PathExists(const String& path);
