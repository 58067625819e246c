#include "core/SingleInstance.h"

#include <stdint.h>

// The names are a fixed-length hash of the executable's identity: a name
// stays short whatever the path's length (a registered message name may not
// exceed 255 characters), and every spelling of one executable's path gives
// the same identity, so the same names.
String InstanceObjectName(const String& identity, const wchar_t* suffix)
{
    // 64-bit FNV-1a over the UTF-16 units.
    uint64_t hash = 0xCBF29CE484222325ull;
    for (int i = 0; i < identity.Length(); ++i) {
        uint16_t unit = static_cast<uint16_t>(identity[i]);
        hash = (hash ^ (unit & 0xFF)) * 0x100000001B3ull;
        hash = (hash ^ (unit >> 8)) * 0x100000001B3ull;
    }
    String name(L"jlaunch_");
    for (int shift = 60; shift >= 0; shift -= 4)
        name += L"0123456789ABCDEF"[(hash >> shift) & 0xF];
    name += suffix;
    return name;
}
