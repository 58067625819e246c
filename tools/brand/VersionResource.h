#pragma once

// Version numbers and the version-information resource (RT_VERSION) built
// from them. No Windows calls.

#include "Bytes.h"

#include <string>
#include <utility>

// "1.2.3.4": exactly four decimal numbers from 0 to 65535 separated by dots,
// nothing else (no blanks, signs or empty parts).
bool ParseVersionNumber(const std::wstring& text, uint16_t parts[4]);

struct VersionInfo {
    uint16_t version[4] = {};  // file and product version
    uint16_t language = 0;     // the string table's language and the translation
    std::vector<std::pair<std::wstring, std::wstring>> strings;  // name, value; empty values are left out
};

// The value of a string (such as "CompanyName") in any string table of a
// VS_VERSIONINFO block; false when there is none or the block is damaged.
// Nothing outside data is read, whatever its lengths say.
bool FindVersionString(const Bytes& data, const std::wstring& name, std::wstring& value);

// A VS_VERSIONINFO block: the fixed part (an application for Windows NT) and
// one string table for the language in Unicode (code page 1200).
Bytes BuildVersionResource(const VersionInfo& info);
