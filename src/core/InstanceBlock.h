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

// Bytes the arguments take in the area: each one's UTF-16 units and its 0,
// then the closing 0.
int64_t ForwardedArgumentsSize(const StringList& arguments);

// Clears the first kForwardedBytesLimit bytes of the block's argument area and
// writes the arguments there. False, with nothing written, when they take more.
bool WriteForwardedArguments(void* block, const StringList& arguments);

// The arguments a later start left in the block. Units are read from the
// argument area up to kArgumentScanEnd at most, so a block without the closing
// 0 is read no further. An area that holds no arguments yields one empty
// string.
void ReadForwardedArguments(const void* block, StringList& arguments);

// A 32-bit field of the block; the other process may write it at any time.
inline uint32_t ReadBlockField(const void* block, int offset)
{
    return *reinterpret_cast<const volatile uint32_t*>(static_cast<const char*>(block) + offset);
}
inline void WriteBlockField(void* block, int offset, uint32_t value)
{
    *reinterpret_cast<volatile uint32_t*>(static_cast<char*>(block) + offset) = value;
}
