#include "base/Text.h"

#include <gtest/gtest.h>

TEST(TextTest, AppendGrowsAndKeepsTerminator)
{
    String s;
    EXPECT_STREQ(L"", s.CStr());
    for (int i = 0; i < 1000; ++i)
        s.Append(L'a' + i % 26);
    EXPECT_EQ(1000, s.Length());
    EXPECT_EQ(L'\0', s.CStr()[1000]);
    EXPECT_EQ(L'l', s[11]);
}

#include "base/SplitList.h"

#include <vector>

namespace {
std::vector<std::wstring> Split(const wchar_t* text, const wchar_t* separator)
{
    StringList items;
    SplitList(String(text), separator, items);
    std::vector<std::wstring> result;
    for (const String& item : items)
        result.emplace_back(item.CStr(), item.Length());
    return result;
}
}  // namespace

TEST(SplitListTest, KeepsInnerEmptyItemsAndDropsTrailingOne)
{
    using V = std::vector<std::wstring>;
    EXPECT_EQ((V{L"a", L"", L"b"}), Split(L"a;;b", L";"));
    EXPECT_EQ((V{L"a"}), Split(L"a;", L";"));
    EXPECT_EQ((V{L"", L"a"}), Split(L";a", L";"));
    EXPECT_EQ((V{L"abc"}), Split(L"abc", L";"));
    EXPECT_EQ(V{}, Split(L"", L";"));
    EXPECT_EQ((V{L""}), Split(L";", L";"));
    EXPECT_EQ((V{L"x", L"y"}), Split(L"x\r\ny\r\n", L"\r\n"));
}
