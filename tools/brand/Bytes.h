#pragma once

// Little-endian reads that never leave the buffer, appends for building
// resource data, and stores into fields the caller has checked.

#include <stddef.h>
#include <stdint.h>

#include <vector>

using Bytes = std::vector<uint8_t>;

// False, leaving value alone, when the field does not lie wholly inside data.
inline bool ReadU16(const Bytes& data, size_t at, uint16_t& value)
{
    if (at > data.size() || data.size() - at < 2)
        return false;
    value = static_cast<uint16_t>(data[at] | (data[at + 1] << 8));
    return true;
}

inline bool ReadU32(const Bytes& data, size_t at, uint32_t& value)
{
    if (at > data.size() || data.size() - at < 4)
        return false;
    value = data[at] | (data[at + 1] << 8) | (data[at + 2] << 16) | (static_cast<uint32_t>(data[at + 3]) << 24);
    return true;
}

inline void PutU16(Bytes& data, uint16_t value)
{
    data.push_back(static_cast<uint8_t>(value));
    data.push_back(static_cast<uint8_t>(value >> 8));
}

inline void PutU32(Bytes& data, uint32_t value)
{
    PutU16(data, static_cast<uint16_t>(value));
    PutU16(data, static_cast<uint16_t>(value >> 16));
}

// Overwrites a field at a checked offset (a header field found by a Read).
inline void StoreU16(Bytes& data, size_t at, uint16_t value)
{
    data.at(at) = static_cast<uint8_t>(value);
    data.at(at + 1) = static_cast<uint8_t>(value >> 8);
}

inline void StoreU32(Bytes& data, size_t at, uint32_t value)
{
    StoreU16(data, at, static_cast<uint16_t>(value));
    StoreU16(data, at + 2, static_cast<uint16_t>(value >> 16));
}
