#pragma once

#include "base/Text.h"

// The one place where text crosses between UTF-16 and 8-bit forms.

// 8-bit text in the calling thread's ANSI code page (CP_THREAD_ACP).
String FromAnsi(const char* text);
// A character the code page lacks becomes its default character ("?"), never
// a look-alike ("\u0142" stays "?", not "l"), so that a name cannot turn into
// another existing name. lossless, when given, tells whether every character
// came through exactly.
AnsiString ToAnsi(const wchar_t* text, bool* lossless = nullptr);
inline AnsiString ToAnsi(const String& text, bool* lossless = nullptr) { return ToAnsi(text.CStr(), lossless); }
// Whether ToAnsi would carry text over exactly.
bool SurvivesAnsi(const String& text);
// The number of the calling thread's ANSI code page, for messages.
int ThreadAnsiCodePage();

// Java's modified UTF-8, which JNI's FindClass and friends take: lossless for
// any UTF-16 text (U+0000 and each surrogate are encoded on their own).
AnsiString ToModifiedUtf8(const String& text);

// UTF-8 for files that are read elsewhere (the launch trace). The result is
// held in an AnsiString but is UTF-8 whatever the code page; a lone surrogate
// becomes U+FFFD. Empty when the text does not fit 2^31 bytes.
AnsiString ToUtf8(const String& text);

// Java's modified UTF-8 (as GetStringUTFChars returns it) to UTF-16. Malformed
// sequences become U+FFFD; nothing is read past the terminating zero.
String DecodeModifiedUtf8(const char* text);
