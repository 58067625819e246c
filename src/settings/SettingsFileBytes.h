#pragma once

#include "base/Text.h"
#include "settings/SettingsEncoding.h"

#include <windows.h>

// Whole-file reads and writes for settings files kept in a form the profile
// functions do not read themselves (see SettingsEncoding.h). Settings files
// are small; a file past kMaxConvertedSettingsBytes is always left to the
// system.
const DWORD kMaxConvertedSettingsBytes = 1024 * 1024;

// The file's bytes when it can be opened and is no larger than the limit.
bool ReadSettingsFileBytes(const String& path, AnsiString& bytes);
bool ReadSettingsFileBytes(HANDLE file, AnsiString& bytes);

// The form in which the file at path is to be read (System when it cannot be
// read), with its text when the form is not System.
SettingsTextForm ReadSettingsText(const String& path, String& text);

// text as a UTF-16LE file with a byte-order mark, which the profile
// functions read and write as UTF-16.
AnsiString Utf16FileBytes(const String& text);
// The text of a UTF-16LE file with a byte-order mark; false for any other.
bool TextOfUtf16File(const AnsiString& bytes, String& text);

// Creates or overwrites path with bytes (disposition CREATE_NEW or
// CREATE_ALWAYS); a partly written file is removed.
bool WriteSettingsFileBytes(const String& path, const AnsiString& bytes, DWORD disposition);

// A name beside path that no earlier call of this process gave: the profile
// functions keep files they have seen in a cache that a reused name with an
// unchanged time stamp could hit.
String ScratchPathBeside(const String& path);
