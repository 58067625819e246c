#pragma once

#include "base/Text.h"

enum class SettingWrite {
    Written,
    NotWritten,        // the file cannot be written, or the write failed
    NotRepresentable,  // the file's encoding cannot hold the value: it would not read back equal
};

// Sets one key of an INI file so that the file ends up either with the new
// value or exactly as it was. The system's profile functions rewrite a file
// in place, and a write that fails half-way would leave it cut off; here the
// change is made in a copy beside the file, which then replaces it in one
// step. A file that is read-only, cannot be opened for writing or has no
// folder is not touched. With createFolders, missing folders on the way to
// the file are made first.
//
// The profile functions keep a file's encoding: one that starts with a
// UTF-16 byte-order mark is written in UTF-16, any other in the ANSI code
// page, where a character outside that code page would be stored as "?". A
// missing file is therefore created as UTF-16 with a byte-order mark, and a
// value that an existing 8-bit file cannot hold is not written at all. A
// UTF-8 file (see SettingsEncoding.h) is written through a UTF-16 working
// copy and stays UTF-8, its byte-order mark kept or left out as it was.
SettingWrite WriteSettingSafely(const String& path, const wchar_t* section, const wchar_t* key, const String& value,
                                bool createFolders);
