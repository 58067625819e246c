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
