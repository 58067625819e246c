#pragma once

#include "base/Text.h"

// Sets one key of an INI file so that the file ends up either with the new
// value or exactly as it was. The system's profile functions rewrite a file
// in place, and a write that fails half-way would leave it cut off; here the
// change is made in a copy beside the file, which then replaces it in one
// step. A file that is read-only, cannot be opened for writing or has no
// folder is not touched. With createFolders, missing folders on the way to
// the file are made first. Returns whether the value was written.
bool WriteSettingSafely(const String& path, const wchar_t* section, const wchar_t* key, const String& value,
                        bool createFolders);
