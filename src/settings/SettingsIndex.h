#pragma once

#include "base/Text.h"
#include "settings/Utf16SettingsCopy.h"

// What a settings file holds, learnt once per process from the system's own
// listing of it: its section names, and the key names of each section asked
// about. Under Wine every GetPrivateProfileStringW opens and checks the file
// again, and a launch asks for some sixty keys of which a typical file sets a
// handful; the index lets the readers skip the keys the file cannot answer.
//
// It is a filter, never a source of values: a key it does not rule out is
// still read with GetPrivateProfileStringW, so values, quotes and matching
// stay the system's. Names it cannot compare exactly (any non-ASCII letter)
// rule nothing out, and neither does a listing that may come from a file the
// system could not open at that moment (an empty one of a file that is
// neither absent nor empty).

// False only when the file has no such section, or no such key in it. With
// recheck the index is first compared with the file's stamp: its write and
// change times, its size and its identity (volume and file index); a reader
// does that on its first question only, so that one reader sees one state of
// the file's layout.
bool SettingsFileMayHold(const String& path, const String& section, const String& key, bool recheck);

// Compares the index with the file's stamp (as recheck above) and gives the
// file that the profile functions are to read for path: path itself, or a
// UTF-16 copy of a UTF-8 file (see Utf16SettingsCopy.h), held open for the
// caller. The listings above are read from the same file.
void GetSettingsReadSource(const String& path, SettingsReadSource& source);

// Drops what is known of path. Every write to a settings file calls it; a
// change made by another program is seen by the next reader that rechecks.
void ForgetSettingsFile(const String& path);
