#include "jvm/VmParameters.h"
#include "jvm/TestText.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::wstring>;

Texts Parameters(const wchar_t* text)
{
    StringList parameters;
    SplitVmParameters(String(text), parameters);
    Texts result;
    for (const String& parameter : parameters)
        result.push_back(Std(RemoveQuotes(parameter)));
    return result;
}

Texts Raw(const wchar_t* text)
{
    StringList parameters;
    SplitVmParameters(String(text), parameters);
    return Std(parameters);
}

}  // namespace

TEST(VmParametersTest, SplitsAtSpacesOutsideQuotesAndUnquotes)
{
    struct Row {
        const wchar_t* text;
        Texts expected;
    } rows[] = {
        {L"-Xmx256m \"-Dname=a b\" -Dx=1", {L"-Xmx256m", L"-Dname=a b", L"-Dx=1"}},
        {L"-Dp=\"C:\\Program Files\\x\" -Xrs", {L"-Dp=C:\\Program Files\\x", L"-Xrs"}},
        // A leading space makes an empty first parameter; trailing ones add nothing.
        {L" -Xmx1g", {L"", L"-Xmx1g"}},
        {L"-Xmx1g    -Xrs   ", {L"-Xmx1g", L"-Xrs"}},
        {L"", {}},
        // A quote without a partner neither groups nor disappears.
        {L"\"a b", {L"\"a", L"b"}},
        {L"-Da=\"x", {L"-Da=\"x"}},
        // A doubled closing quote: the first stays as a literal.
        {L"\"a\"\"b c\" d", {L"a\"b", L"c\"", L"d"}},
        {L"-Dq=\"say \"\"hi\"\"\"", {L"-Dq=say \"hi\""}},
        // Tabs do not separate.
        {L"-Da=1\t-Db=2", {L"-Da=1\t-Db=2"}},
        {L"\"\" x", {L"", L"x"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, Parameters(row.text)) << row.text;
}

TEST(VmParametersTest, SplittingKeepsQuotesForLaterRemoval)
{
    EXPECT_EQ((Texts{L"-Xmx256m", L"\"-Dname=a b\"", L"-Dx=1"}), Raw(L"-Xmx256m \"-Dname=a b\" -Dx=1"));
}

TEST(VmParametersTest, FindTokenEndPositions)
{
    String text(L"ab \"c d\"e f");
    EXPECT_EQ(2, FindTokenEnd(text, 0));
    EXPECT_EQ(9, FindTokenEnd(text, 3));
    EXPECT_EQ(11, FindTokenEnd(text, 10));
    EXPECT_EQ(11, FindTokenEnd(text, 11));
    EXPECT_EQ(0, FindTokenEnd(String(), 0));
    // A quote that opens after the space does not extend the token.
    EXPECT_EQ(1, FindTokenEnd(String(L"a \"b c\""), 0));
    // An unclosed quote before any space reaches the end only without a space.
    EXPECT_EQ(4, FindTokenEnd(String(L"\"abc"), 0));
    EXPECT_EQ(2, FindTokenEnd(String(L"\"a bc"), 0));
}

TEST(VmParametersTest, RemoveQuotesTable)
{
    struct Row {
        const wchar_t* in;
        const wchar_t* out;
    } rows[] = {
        {L"", L""},
        {L"\"\"", L""},
        {L"\"", L"\""},
        {L"a\"", L"a\""},
        {L"\"a\"b\"c\"", L"abc"},
        {L"\"a\"\"", L"a\""},
        {L"x\"\"\"\"y", L"x\"\"y"},
        {L"\"a\"\"b\"", L"a\"b\""},
        {L"no quotes", L"no quotes"},
        {L"\"\u00fcn\u00efc\u00f8d\u00e9\"", L"\u00fcn\u00efc\u00f8d\u00e9"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(std::wstring(row.out), Std(RemoveQuotes(String(row.in)))) << row.in;
}
