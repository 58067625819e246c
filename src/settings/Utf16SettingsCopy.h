#pragma once

#include "base/Text.h"
#include "base/UniqueResource.h"

// The file the profile functions are to read for the settings file at path.
// A file in a form they would misread (UTF-8, see SettingsEncoding.h) is read
// through a UTF-16 copy of its text, so that values, quotes and name matching
// stay the system's; any other file, and one whose copy cannot be made, is
// read itself.
//
// Copies live in one folder under the user's temporary folder and are named
// after the source path and the copy's content: a launch whose settings file
// is unchanged reuses the copy of the one before, and the copies of earlier
// versions of the same file are removed when a new one is made, so there is
// at most one copy per settings file. hold keeps the copy open while it is in
// use, which keeps other processes from removing or replacing it.
struct SettingsReadSource {
    String path;
    UniqueFileHandle hold;
};

void ChooseSettingsReadSource(const String& path, SettingsReadSource& source);
