// The argument area of the instance block, written by a later start and read
// back by the first instance.

#include "core/InstanceBlock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::wstring>;

StringList ToList(const Texts& texts)
{
    StringList list;
    for (const std::wstring& text : texts)
        list.Append(String(text.c_str(), static_cast<int>(text.size())));
    return list;
}

Texts FromList(const StringList& list)
{
    Texts texts;
    for (const String& text : list)
        texts.emplace_back(text.CStr(), text.Length());
    return texts;
}

TEST(InstanceBlock, ArgumentsThereAndBack)
{
    struct Row {
        Texts written;
        bool fits;
        Texts read;
    } rows[] = {
        {{L"a", L"b c"}, true, {L"a", L"b c"}},
        {{}, true, {L""}},  // nothing written reads as one empty string
        {{L"x", L"", L"y"}, true, {L"x", L"", L"y"}},  // the count keeps empty arguments
        {{L"", L""}, true, {L"", L""}},
        {{L"\u00fc", L"\U0001F600"}, true, {L"\u00fc", L"\U0001F600"}},
        {{std::wstring(518, L'q')}, true, {std::wstring(518, L'q')}},  // 1036 + 2 + 2 bytes
        {{std::wstring(519, L'q')}, false, {}},
        {{L"a", std::wstring(516, L'q')}, true, {L"a", std::wstring(516, L'q')}},
        {{L"a", std::wstring(517, L'q')}, false, {}},
    };
    for (const Row& row : rows) {
        std::vector<unsigned char> block(kInstanceBlockSize, 0xAB);
        bool fits = WriteForwardedArguments(block.data(), ToList(row.written));
        EXPECT_EQ(row.fits, fits) << row.written.size();
        if (!fits) {
            EXPECT_EQ(std::vector<unsigned char>(kInstanceBlockSize, 0xAB), block) << "nothing is written";
            continue;
        }
        for (int i = kArgumentAreaOffset + kForwardedBytesLimit; i < kInstanceBlockSize; ++i) {
            if (i < kArgumentCountOffset || i >= kArgumentCountOffset + 4)
                ASSERT_EQ(0xAB, block[i]) << "written beyond the later start's share at " << i;
        }
        StringList read;
        ReadForwardedArguments(block.data(), read);
        EXPECT_EQ(row.read, FromList(read));
    }
}

TEST(InstanceBlock, ReaderStopsAtTheEndWithoutClosingZero)
{
    std::vector<unsigned char> block(kInstanceBlockSize + 64, 0);
    for (int i = kArgumentAreaOffset; i < kInstanceBlockSize + 64; i += 2)
        block[i] = 'z';
    StringList read;
    ReadForwardedArguments(block.data(), read);
    EXPECT_TRUE(read.IsEmpty()) << "a string that never ends is not taken";

    // A zero in the last unit the reader looks at ends the one string.
    block[kArgumentScanEnd - 2] = 0;
    ReadForwardedArguments(block.data(), read);
    ASSERT_EQ(1, read.Count());
    EXPECT_EQ((kArgumentScanEnd - 2 - kArgumentAreaOffset) / 2, read[0].Length());
}

}  // namespace

// The count is read once: a start by a launcher that writes no count (the
// area alone) is read by the first empty argument, not by a count left over.
// A count that does not fit the area is not trusted either.
TEST(InstanceBlock, CountOnlyForTheStartThatWroteIt)
{
    std::vector<unsigned char> block(kInstanceBlockSize, 0);
    StringList read;
    ASSERT_TRUE(WriteForwardedArguments(block.data(), ToList({L"a", L"", L"b"})));
    ReadForwardedArguments(block.data(), read);
    EXPECT_EQ((Texts{L"a", L"", L"b"}), FromList(read));

    const wchar_t older[] = L"x\0\0y\0";  // written without a count
    memcpy(block.data() + kArgumentAreaOffset, older, sizeof(older));
    ReadForwardedArguments(block.data(), read);
    EXPECT_EQ(Texts{L"x"}, FromList(read));

    WriteBlockField(block.data(), kArgumentCountOffset, 1000);  // more arguments than the area can hold
    ReadForwardedArguments(block.data(), read);
    EXPECT_EQ(Texts{L"x"}, FromList(read));
    EXPECT_EQ(0u, ReadBlockField(block.data(), kArgumentCountOffset));
}
