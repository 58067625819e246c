#pragma once

#include "base/Text.h"

#include <stddef.h>
#include <stdint.h>

// 64-bit FNV-1a: short, stable names for things that must be told apart
// (object names, file names); not a safeguard against anyone.
class Fnv1a {
public:
    void AddByte(unsigned byte) { m_value = (m_value ^ (byte & 0xFF)) * 0x100000001B3ull; }
    void AddBytes(const void* data, size_t size)
    {
        const unsigned char* bytes = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i)
            AddByte(bytes[i]);
    }
    // UTF-16 units, the low byte first.
    void AddUnits(const String& text)
    {
        for (int i = 0; i < text.Length(); ++i) {
            unsigned unit = static_cast<uint16_t>(text[i]);
            AddByte(unit);
            AddByte(unit >> 8);
        }
    }
    uint64_t Value() const { return m_value; }

private:
    uint64_t m_value = 0xCBF29CE484222325ull;
};

// The value as sixteen hexadecimal digits, appended to text.
inline void AppendHex16(String& text, uint64_t value, bool capitals)
{
    const wchar_t* digits = capitals ? L"0123456789ABCDEF" : L"0123456789abcdef";
    for (int shift = 60; shift >= 0; shift -= 4)
        text.Append(digits[(value >> shift) & 0xF]);
}
