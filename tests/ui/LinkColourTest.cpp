#include "ui/LinkColour.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const uint32_t kKept = 0xABCDEF;  // the colour before parsing

struct TextCase {
    const wchar_t* text;
    uint32_t expected;  // kKept when the text is refused
};

TEST(LinkColour, TextRules)
{
    const TextCase cases[] = {
        {L"0,128,0", 0x008000},
        {L"255,0,0", 0x0000FF},
        {L"1,2,3", 0x030201},
        {L" 12,\t34 , 56", 0x38220C},    // blanks before a number, anything after it
        {L"+7,-0,9", 0x090007},
        {L"256,257,511", 0xFF0100},      // low 8 bits
        {L"-2,0,0", 0x0000FE},
        {L"0,0,-1", 0xFF0000},           // only the first two may not be -1
        {L"-1,0,0", kKept},
        {L"0,-1,0", kKept},
        {L"x,y,z", 0x000000},            // not a number reads as 0
        {L",,5", 0x050000},
        {L"0,128", kKept},               // two numbers
        {L"0,128,", kKept},              // empty rest
        {L"0128", kKept},
        {L"", kKept},
        {L"1,2,3,4", 0x030201},          // the rest reads up to its first non-digit
        {L"99999999999,0,0", 0x0000FF},  // beyond the 32-bit range: its largest value
        {L"-99999999999,0,0", 0x000000},
    };
    for (const TextCase& c : cases) {
        uint32_t colour = kKept;
        std::wstring text = c.text;
        bool parsed = ParseLinkColourText(text.data(), static_cast<int>(text.size()), colour);
        EXPECT_EQ(colour, c.expected) << testing::PrintToString(text);
        EXPECT_EQ(parsed, c.expected != kKept) << testing::PrintToString(text);
    }
}

TEST(LinkColour, ValueAsTheRegistryReturnedIt)
{
    const wchar_t green[] = L"0,128,0";
    struct ValueCase {
        const char* name;
        const wchar_t* units;
        uint32_t bytes;
        uint32_t expected;
    } cases[] = {
        {"terminated", green, sizeof(green), 0x008000},
        {"odd size", green, sizeof(green) - 1, kKept},
        {"no terminator within the size", green, sizeof(green) - 2, kKept},
        {"empty", green, 0, kKept},
        {"text ends at an inner terminator", L"1,2,3\0 9", 18, 0x030201},
    };
    for (const ValueCase& c : cases) {
        uint32_t colour = kKept;
        ParseLinkColourValue(c.units, c.bytes, colour);
        EXPECT_EQ(colour, c.expected) << c.name;
    }
}

}  // namespace
