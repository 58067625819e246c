#pragma once

#include "base/Text.h"

// How the bytes of a settings file are to be read. The system's profile
// functions read a file that starts with a UTF-16 byte-order mark as UTF-16
// and any other file in the ANSI code page, which turns UTF-8 text (what
// editors save by default) into mojibake: "Café" reads as "CafÃ©".
enum class SettingsTextForm {
    System,        // left to the profile functions: UTF-16 with a mark, ASCII, ANSI or not UTF-8
    Utf8,          // valid UTF-8 with at least one non-ASCII character, no mark
    Utf8WithMark,  // starts with the UTF-8 byte-order mark, the rest valid UTF-8
};

SettingsTextForm ClassifySettingsText(const char* bytes, int length);

// The byte-order mark that begins a file of the given form ("" for System
// and Utf8).
const char* SettingsTextMark(SettingsTextForm form);

// Strict UTF-8 to UTF-16: false (text unspecified) for a truncated or
// overlong sequence, a stray continuation byte, an encoded surrogate or a
// code point past U+10FFFF.
bool DecodeUtf8(const char* bytes, int length, String& text);

// UTF-16 to UTF-8, appended to bytes: false for a lone surrogate, which
// UTF-8 cannot hold.
bool EncodeUtf8(const wchar_t* text, int length, AnsiString& bytes);
