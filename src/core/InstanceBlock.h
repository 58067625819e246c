#pragma once

#include "base/List.h"
#include "base/Text.h"

#include <stdint.h>

// The instance block: shared memory through which later starts of a
// single-instance application reach the first one. Its layout is shared by
// every launcher of this kind, whatever its version:
//
//   offset 0   thread id of the first instance's listener thread
//   offset 4   process id of the first instance
//   offset 8   id of the registered message both sides use
//   offset 12  argument area: UTF-16 strings, each followed by a 0 unit, the
//              list ended by one more 0 unit
//   offset 2088  the number of arguments plus one, or 0 when not given
//
// A reader that knows only the argument area stops at the first empty
// argument. The count, in a part of the block that a later start never fills
// otherwise, lets a reader take empty arguments as well; the reader clears it,
// so that a later start that writes none is read by the area alone.
//
// No system calls here: the rules work on plain memory.

constexpr int kInstanceBlockSize = 2092;
constexpr int kListenerThreadOffset = 0;
constexpr int kProcessIdOffset = 4;
constexpr int kMessageIdOffset = 8;
constexpr int kArgumentAreaOffset = 12;
// A later start fills at most this many bytes of the argument area.
constexpr int kForwardedBytesLimit = 1040;
// The reader stops before this offset of the block.
constexpr int kArgumentScanEnd = 2090;
constexpr int kArgumentCountOffset = 2088;

// Bytes the arguments take in the area: each one's UTF-16 units and its 0,
// then the closing 0.
int64_t ForwardedArgumentsSize(const StringList& arguments);

// Clears the first kForwardedBytesLimit bytes of the block's argument area,
// writes the arguments there and their count after them. False, with nothing
// written, when they take more.
bool WriteForwardedArguments(void* block, const StringList& arguments);

// The arguments a later start left in the block, then the count cleared.
// With a count that fits the area, that many arguments, empty ones included;
// otherwise units are read from the argument area up to the first empty
// argument, and up to kArgumentScanEnd at most, so a block without the
// closing 0 is read no further. No arguments yield one empty string.
void ReadForwardedArguments(void* block, StringList& arguments);

// A 32-bit field of the block; the other process may write it at any time.
inline uint32_t ReadBlockField(const void* block, int offset)
{
    return *reinterpret_cast<const volatile uint32_t*>(static_cast<const char*>(block) + offset);
}
inline void WriteBlockField(void* block, int offset, uint32_t value)
{
    *reinterpret_cast<volatile uint32_t*>(static_cast<char*>(block) + offset) = value;
}
