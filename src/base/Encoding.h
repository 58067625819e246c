#pragma once

#include "base/Text.h"

// The one place where text crosses between UTF-16 and 8-bit forms.

// 8-bit text in the calling thread's ANSI code page (CP_THREAD_ACP).
String FromAnsi(const char* text);
AnsiString ToAnsi(const wchar_t* text);
inline AnsiString ToAnsi(const String& text) { return ToAnsi(text.CStr()); }

// UTF-8 for files that are read elsewhere (the launch trace). The result is
// held in an AnsiString but is UTF-8 whatever the code page; a lone surrogate
// becomes U+FFFD. Empty when the text does not fit 2^31 bytes.
AnsiString ToUtf8(const String& text);

// Java's modified UTF-8 (as GetStringUTFChars returns it) to UTF-16. Malformed
// sequences become U+FFFD; nothing is read past the terminating zero.
String DecodeModifiedUtf8(const char* text);
