#pragma once

// UTF-8 at the borders of the tool's POSIX build (command line, paths,
// console). No system calls. Texts inside are UTF-16 code units, one per
// wchar_t, as on Windows.

#include <string>

// Malformed bytes become U+FFFD; characters above U+FFFF become surrogate pairs.
std::wstring Utf8ToUtf16(const std::string& bytes);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(const std::wstring& text);
