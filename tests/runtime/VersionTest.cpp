#include "runtime/Version.h"

#include <gtest/gtest.h>

#include <string>

namespace {

JavaVersion V(int32_t a, int32_t b, int32_t c, int32_t d, int32_t count = 4)
{
    JavaVersion v;
    v.component[0] = a;
    v.component[1] = b;
    v.component[2] = c;
    v.component[3] = d;
    v.count = count;
    return v;
}

std::wstring Str(const String& s)
{
    return std::wstring(s.CStr(), s.Length());
}

::testing::AssertionResult Same(const JavaVersion& expected, const JavaVersion& actual)
{
    for (int i = 0; i < 4; ++i)
        if (expected.component[i] != actual.component[i])
            return ::testing::AssertionFailure() << "component " << i << ": expected " << expected.component[i]
                                                 << ", got " << actual.component[i];
    if (expected.count != actual.count)
        return ::testing::AssertionFailure() << "count: expected " << expected.count << ", got " << actual.count;
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(VersionTest, ParseTable)
{
    struct Row {
        const wchar_t* text;
        int32_t fill;
        bool ok;
        JavaVersion expected;
    } rows[] = {
        {L"1.8.0_201", 0, true, V(1, 8, 0, 201, 4)},
        {L"11.0.2", 0, true, V(11, 0, 2, 0, 3)},
        {L"11.0.2", 65535, true, V(11, 0, 2, 65535, 3)},
        {L"1.6", 65535, true, V(1, 6, 65535, 65535, 2)},
        {L"1.6", 0, true, V(1, 6, 0, 0, 2)},
        {L"jdk-17", 0, true, V(17, 0, 0, 0, 1)},
        {L"jdk-17", 65535, true, V(17, 65535, 65535, 65535, 1)},
        {L"1.8.0_201-b09", 0, true, V(1, 8, 0, 201, 5)},
        {L"1.2.3.4.5.6.7", 0, true, V(1, 2, 3, 4, 5)},
        {L"  v1--2__3 x", 7, true, V(1, 2, 3, 7, 3)},
        {L"007.010", 0, true, V(7, 10, 0, 0, 2)},
        {L"1.8.", 0, true, V(1, 8, 0, 0, 2)},
        {L"2147483647", 0, true, V(2147483647, 0, 0, 0, 1)},
        // Failures leave everything zero, whatever the fill.
        {L"", 65535, false, V(0, 0, 0, 0, 0)},
        {L"any", 65535, false, V(0, 0, 0, 0, 0)},
        {L"Any", 0, false, V(0, 0, 0, 0, 0)},
        {L"ANY", 65535, false, V(0, 0, 0, 0, 0)},
        {L"2147483648", 0, false, V(0, 0, 0, 0, 0)},
        {L"1.2147483649", 65535, false, V(0, 0, 0, 0, 0)},
        {L"1.8.99999999999", 0, false, V(0, 0, 0, 0, 0)},
        // A fifth group is never accumulated, so its size does not matter.
        {L"1.2.3.4.99999999999", 0, true, V(1, 2, 3, 4, 5)},
        // Non-ASCII digits are separators.
        {L"1\x0663" L"2", 0, true, V(1, 2, 0, 0, 2)},
    };
    for (const Row& row : rows) {
        JavaVersion v = V(9, 9, 9, 9, 9);
        EXPECT_EQ(row.ok, ParseVersion(String(row.text), row.fill, v)) << row.text;
        EXPECT_TRUE(Same(row.expected, v)) << row.text;
    }
}

TEST(VersionTest, CompareIgnoresCountAndIsSigned)
{
    struct Row {
        JavaVersion a, b;
        int expected;
    } rows[] = {
        {V(1, 8, 0, 0), V(1, 8, 0, 5), -1},
        {V(1, 8, 0, 201, 5), V(1, 8, 0, 201, 4), 0},
        {V(11, 0, 0, 0), V(1, 8, 0, 999), 1},
        {V(1, 6, 65535, 65535), V(1, 6, 0, 0), 1},
        {V(-1, 0, 0, 0), V(0, 0, 0, 0), -1},
        {V(0, 0, 0, 0), V(0, 0, 0, 0), 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.expected, CompareVersions(row.a, row.b));
        EXPECT_EQ(-row.expected, CompareVersions(row.b, row.a));
    }
}

TEST(VersionTest, ParsedRegistryNamesOrder)
{
    JavaVersion a, b, c, d;
    ParseVersion(String(L"1.8"), 0, a);
    ParseVersion(String(L"1.8.0_05"), 0, b);
    ParseVersion(String(L"1.8.0_201-b09"), 0, c);
    ParseVersion(String(L"1.8.0_201"), 0, d);
    EXPECT_LT(CompareVersions(a, b), 0);
    EXPECT_EQ(0, CompareVersions(c, d));
}

TEST(VersionTest, FormatTable)
{
    struct Row {
        JavaVersion v;
        const wchar_t* expected;
    } rows[] = {
        {V(1, 8, 0, 201), L"1.8.0.201"},   {V(1, 6, 65535, 65535), L"1.6"}, {V(1, 0, 0, 0), L"1.0"},
        {V(11, 0, 2, 0), L"11.0.2"},       {V(0, 0, 0, 5), L"0.0.0.5"},     {V(1, 65535, 2, 0), L"1.65535.2"},
        {V(0, 0, 0, 0), L"0.0.0.0"},       {V(65535, 65535, 65535, 65535), L"0.0.0.0"},
        {V(17, 0, 0, 0), L"17.0"},         {V(0, 3, 0, 0), L"0.3"},         {V(2147483647, 1, 0, 0), L"2147483647.1"},
        {V(-5, 0, 0, 0), L"-5.0"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(std::wstring(row.expected), Str(FormatVersion(row.v)));
}

TEST(VersionTest, Unbounded)
{
    EXPECT_TRUE(IsUnbounded(V(0, 0, 0, 0)));
    EXPECT_TRUE(IsUnbounded(V(65535, 65535, 65535, 65535)));
    EXPECT_FALSE(IsUnbounded(V(0, 0, 0, 65535)));
    EXPECT_FALSE(IsUnbounded(V(1, 6, 65535, 65535)));
    EXPECT_FALSE(IsUnbounded(V(0, 0, 0, 1)));
}

TEST(VersionTest, MatchesPreferredTable)
{
    struct Row {
        JavaVersion candidate, preferred;
        bool expected;
    } rows[] = {
        {V(1, 8, 0, 201), V(1, 8, 0, 0), true},    // "1.8" matches every 1.8.x
        {V(1, 7, 0, 201), V(1, 8, 0, 0), false},
        {V(11, 0, 2, 0), V(11, 0, 0, 0), true},    // "11"
        {V(12, 0, 0, 0), V(11, 0, 0, 0), false},
        {V(1, 0, 5, 3), V(1, 0, 5, 0), true},      // a zero inside the prefix is compared
        {V(1, 1, 5, 3), V(1, 0, 5, 0), false},
        {V(1, 0, 6, 0), V(1, 0, 5, 0), false},
        {V(9, 9, 9, 9), V(0, 0, 0, 0), true},      // an unparsable preference matches all
        {V(1, 8, 0, 201), V(1, 8, 0, 201), true},
        {V(1, 8, 0, 202), V(1, 8, 0, 201), false},
        {V(0, 0, 0, 0), V(0, 0, 0, 1), false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, MatchesPreferred(row.candidate, row.preferred))
            << Str(FormatVersion(row.candidate)) << " vs " << Str(FormatVersion(row.preferred));
}

TEST(VersionTest, RequirementPhrases)
{
    auto parse = [](const wchar_t* text, int32_t fill) {
        JavaVersion v;
        ParseVersion(String(text), fill, v);
        return v;
    };
    const JavaVersion anyMin = V(0, 0, 0, 0);
    const JavaVersion anyMax = V(65535, 65535, 65535, 65535);
    struct Row {
        JavaVersion minimum, maximum;
        const wchar_t* expected;
    } rows[] = {
        {anyMin, anyMax, L"versi terbaru"},
        {anyMin, V(0, 0, 0, 0, 0), L"versi terbaru"},  // absent maximum reads as none
        {anyMin, parse(L"1.8", 65535), L"versi maksimum 1.8"},
        {parse(L"1.6", 0), anyMax, L"versi minimum 1.6"},
        {parse(L"1.6.0.0", 0), parse(L"1.6.0.0", 65535), L"diperlukan versi 1.6"},
        {parse(L"1.6", 0), parse(L"1.6", 65535), L"versi antara 1.6 dan 1.6"},
        {parse(L"1.6", 0), parse(L"11.0.2", 65535), L"versi antara 1.6 dan 11.0.2"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(std::wstring(row.expected), Str(BuildRequirementText(row.minimum, row.maximum)));
}
