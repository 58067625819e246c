#pragma once

// UTF-8 at the borders of the tool's POSIX build (command line, paths,
// console). No system calls. Texts inside are UTF-16 code units, one per
// wchar_t, as on Windows.

#include <stddef.h>
#include <stdint.h>

#include <string>

// The strict UTF-8 character at data[at] (at < size): true with its value and
// byte count; false for overlong forms, surrogates, values above U+10FFFF,
// bad continuation bytes and cut-off sequences, with length the bytes to skip.
bool NextUtf8(const uint8_t* data, size_t size, size_t at, uint32_t& c, size_t& length);
// Appends c as one UTF-16 unit or a surrogate pair.
void AppendUtf16(std::wstring& text, uint32_t c);

// Malformed bytes become U+FFFD; characters above U+FFFF become surrogate pairs.
std::wstring Utf8ToUtf16(const std::string& bytes);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(const std::wstring& text);
