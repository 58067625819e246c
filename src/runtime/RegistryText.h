#pragma once

#include "base/List.h"
#include "base/Text.h"

#include <windows.h>

// Reads a registry value of any type as UTF-16 text. The data is taken as it
// is stored: it need not end in a NUL, may have an odd number of bytes (the
// last odd byte is dropped) and ends at its first NUL. False when the value
// is missing, holds no bytes, changes size while being read, or yields an
// empty text.
bool ReadRegistryText(HKEY key, const wchar_t* valueName, String& text);

// The names of key's immediate subkeys in enumeration order, up to the first
// enumeration that does not succeed.
StringList ReadSubkeyNames(HKEY key);
