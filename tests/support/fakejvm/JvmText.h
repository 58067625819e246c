// Text conversions of the stand-in Java runtime: UTF-16 strings as Java keeps
// them, standard UTF-8 for the log and the print streams, JNI's modified
// UTF-8 for names and GetStringUTFChars, and the ANSI code page for option
// strings and the splash library's arguments.
#pragma once

#include <string>

namespace fakejvm {

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& bytes);

// Modified UTF-8: U+0000 becomes C0 80 and every UTF-16 unit (surrogates
// included) is encoded on its own, so a non-BMP character takes six bytes.
std::string ToModifiedUtf8(const std::wstring& text);
// Accepts modified UTF-8 and, leniently, standard four-byte sequences.
// Malformed bytes become U+FFFD.
std::wstring FromModifiedUtf8(const char* bytes);

std::wstring FromAnsi(const char* bytes);

std::wstring Widen(const char* ascii);
std::string Dotted(std::string name);
std::string Slashed(std::string name);

}  // namespace fakejvm
