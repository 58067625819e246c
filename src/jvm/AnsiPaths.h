#pragma once

#include "base/Text.h"

#include <windows.h>

// Paths for the runtime's 8-bit option strings. The runtime reads those in
// the ANSI code page, so a path with characters outside it is handed over in
// its short (8.3) form, which names the same file in plain characters.

enum class AnsiPathForm {
    Exact,        // the path itself survives the code page
    Short,        // its short form (or its folder's, for a file not there yet) does
    NoShortName,  // the volume gives it no short form that survives
    Missing,      // it does not exist, and its own name does not survive
};

// The form of path the runtime can read; usable is set for Exact and Short.
AnsiPathForm FindAnsiPathForm(const String& path, String& usable);

// The message for a path that has no usable form.
String PathRefusalText(const String& path, AnsiPathForm form);

// Where short names come from: GetShortPathNameW. Unit tests replace it to
// play a volume that makes no short names.
using ShortPathFunction = DWORD(WINAPI*)(const wchar_t* longPath, wchar_t* shortPath, DWORD size);
ShortPathFunction SetShortPathFunction(ShortPathFunction function);
