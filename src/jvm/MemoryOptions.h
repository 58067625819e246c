#pragma once

#include "base/Text.h"

#include <stdint.h>

// Heap and stack sizes given relative to the machine ("-Xmx50:256:1024p") and
// the stack size of the thread that runs the VM's main thread ("-Xss512k").

// What ParseNumberList reads from "<prefix>n1:n2:n3<letter>": the length of
// the prefix (up to the first digit or ":"), how many numbers there are and
// the first three of them. A number too large for 32 bits is held as
// UINT32_MAX and marks the list as overflowed.
struct NumberList {
    int prefixLength = 0;
    int count = 0;
    uint32_t values[3] = {0, 0, 0};
    bool overflow = false;

    uint32_t At(int index) const { return index < count && index < 3 ? values[index] : 0; }
};

// The last character of the text is never read as part of a number.
NumberList ParseNumberList(const wchar_t* text, int length);
inline NumberList ParseNumberList(const String& text)
{
    return ParseNumberList(text.CStr(), text.Length());
}

// "-Xms", "-Xmx" or "-Xss" (exact case) ending in P, p, T or t.
bool IsRelativeMemoryOption(const String& parameter);

// The machine's memory as GlobalMemoryStatus reports it, in bytes.
struct MemoryFigures {
    uint64_t totalPhysical = 0;     // dwTotalPhys: reference for P and p
    uint64_t availableVirtual = 0;  // dwAvailVirtual: reference for T and t
};
MemoryFigures QueryMemoryFigures();

// Rewrites a relative memory option into "<prefix><size>K": percent of the
// reference memory, raised to the lower bound and cut to the upper bound
// (both in megabytes, 0 meaning none; the lower bound wins). Sizes beyond the
// largest signed 32-bit number are held at that number.
String ResolveMemoryOption(const String& parameter, const MemoryFigures& figures);
inline String ResolveMemoryOption(const String& parameter)
{
    return ResolveMemoryOption(parameter, QueryMemoryFigures());
}

// The launch thread's stack size in bytes from a "-Xss" parameter, or 0 when
// its value is not one number with an optional K, M or G, or does not fit in
// 32 bits.
uint32_t StackSizeFromParameter(const String& parameter);
