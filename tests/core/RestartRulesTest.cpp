#include "core/RestartRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Std(const String& text)
{
    return std::wstring(text.CStr(), text.Length());
}

}  // namespace

TEST(RestartRules, RestartCode)
{
    struct Row {
        const wchar_t* value;
        int code;
    } rows[] = {
        {L"7", 7}, {L"1", 1}, {L"255", 255}, {L"007", 7}, {L"", 0}, {L"0", 0}, {L"256", 0}, {L"0007", 0},
        {L"-1", 0}, {L" 7", 0}, {L"7x", 0}, {L"0x7", 0}, {L"99999999999999999999999", 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.code, RestartCodeFromText(String(row.value))) << Std(String(row.value));
}

TEST(RestartRules, MarkTravelsWhole)
{
    RestartMark mark;
    mark.parentId = 4242;
    mark.times[0] = 1000;
    mark.times[1] = 18446744073709551615ull;
    mark.count = 2;
    mark.instanceName = L"jlaunch_0123;x";
    EXPECT_EQ(L"1092;3e8,ffffffffffffffff;jlaunch_0123;x", Std(FormatRestartMark(mark)));
    RestartMark read;
    ASSERT_TRUE(ParseRestartMark(FormatRestartMark(mark), read));
    EXPECT_EQ(4242u, read.parentId);
    EXPECT_EQ(2, read.count);
    EXPECT_EQ(18446744073709551615ull, read.times[1]);
    EXPECT_EQ(L"jlaunch_0123;x", Std(read.instanceName));

    ASSERT_TRUE(ParseRestartMark(String(L"1;;"), read));
    EXPECT_EQ(0, read.count);
    EXPECT_TRUE(read.instanceName.IsEmpty());
    const wchar_t* broken[] = {L"", L"1", L"1;", L";;", L"x;;", L"1;2", L"1;2,;", L"1;,2;", L"1;1,2,3,4,5,6;",
                               L"100000000;;", L"1;10000000000000000;", L"g;;"};
    for (const wchar_t* text : broken)
        EXPECT_FALSE(ParseRestartMark(String(text), read)) << Std(String(text));
}

TEST(RestartRules, FiveRestartsWithinAMinuteAreTheLast)
{
    RestartMark mark;
    for (uint64_t now : {100000, 110000, 120000, 130000, 140000})
        EXPECT_TRUE(RecordRestart(mark, now)) << now;
    EXPECT_FALSE(RecordRestart(mark, 159999));  // the first lies 59.999 s back
    EXPECT_EQ(5, mark.count);
    // A minute after the first, one more is allowed; the first leaves the history.
    EXPECT_TRUE(RecordRestart(mark, 160000));
    EXPECT_EQ(5, mark.count);
    EXPECT_EQ(110000u, mark.times[0]);
    EXPECT_EQ(160000u, mark.times[4]);

    // A restart after a quiet minute starts a new count; times from the
    // future (a mark made up by hand) do not count.
    RestartMark old;
    ASSERT_TRUE(ParseRestartMark(String(L"1;3e8,7d0,bb8,fa0,7a120;"), old));  // 1000 ... 4000, 500000
    EXPECT_TRUE(RecordRestart(old, 400000));
    EXPECT_EQ(1, old.count);
    EXPECT_EQ(400000u, old.times[0]);
}
