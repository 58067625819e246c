#include "core/CommandLineTokens.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Tokens = std::vector<std::wstring>;

Tokens ToVector(const StringList& list)
{
    Tokens result;
    for (const String& item : list)
        result.emplace_back(item.CStr(), item.Length());
    return result;
}

Tokens Arguments(const std::wstring& commandLine)
{
    StringList arguments;
    SplitCommandLine(commandLine.c_str(), static_cast<int>(commandLine.size()), arguments);
    return ToVector(arguments);
}

Tokens Split(const std::wstring& text)
{
    StringList tokens;
    SplitTokens(text.c_str(), static_cast<int>(text.size()), tokens);
    return ToVector(tokens);
}

struct Row {
    const wchar_t* commandLine;
    Tokens expected;
};

}  // namespace

TEST(CommandLineTest, SplitsTheWayTheLauncherPassesArgumentsOn)
{
    const Row rows[] = {
        {L"\"C:\\Program Files\\App\\launcher.exe\" a b", {L"a", L"b"}},
        {L"C:\\app\\launcher.exe", {}},
        {L"\"C:\\app\\launcher.exe\"", {}},
        {L"", {}},
        {L"   \t  ", {}},
        // Runs of spaces between tokens and white space at both ends go.
        {L" \t launcher.exe   a    b \r\n", {L"a", L"b"}},
        // Only the space separates: a tab inside a token stays.
        {L"launcher.exe a\tb", {L"a\tb"}},
        // A quoted token followed by text: the text is a token of its own.
        {L"launcher.exe \"a b\"c", {L"a b", L"c"}},
        {L"launcher.exe\"a b\"", {L"b\""}},
        // Quotes inside an unquoted token are kept, and do not group spaces.
        {L"launcher.exe a\"b c\"", {L"a\"b", L"c\""}},
        {L"launcher.exe -Dx=\"1\"", {L"-Dx=\"1\""}},
        // No closing quote: the rest of the line after the opening quote.
        {L"launcher.exe \"open  to the end ", {L"open  to the end"}},
        {L"launcher.exe \"", {L""}},
        // Empty quoted tokens are arguments too.
        {L"launcher.exe \"\" a \"\"", {L"", L"a", L""}},
        // Two quoted tokens back to back.
        {L"launcher.exe \"a\"\"b\"", {L"a", L"b"}},
        // No escape characters: backslashes are plain text.
        {L"launcher.exe \"C:\\dir\\\\\" next", {L"C:\\dir\\\\", L"next"}},
        {L"launcher.exe -nosplash /nosplash -NOSPLASH", {L"-nosplash", L"/nosplash", L"-NOSPLASH"}},
        {L"launcher.exe \u00fcn\u00efc\u00f8d\u00e9 \U0001F600 \u65e5\u672c", {L"\u00fcn\u00efc\u00f8d\u00e9", L"\U0001F600", L"\u65e5\u672c"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, Arguments(row.commandLine)) << "command line: " << row.commandLine;
}

TEST(CommandLineTest, CmdSettingKeepsItsFirstTokenAndEdges)
{
    // The "Cmd" text is split by the same rule without trimming and without
    // dropping its first token.
    EXPECT_EQ((Tokens{L"a", L"b c"}), Split(L"a \"b c\""));
    EXPECT_EQ((Tokens{L"\tx", L"y\t"}), Split(L"\tx y\t"));
    EXPECT_EQ((Tokens{L"first"}), Split(L"  first  "));
    EXPECT_EQ(Tokens{}, Split(L""));
    EXPECT_EQ(Tokens{}, Split(L"     "));
    EXPECT_EQ((Tokens{L""}), Split(L"\"\""));
}

TEST(CommandLineTest, ReadsOnlyTheGivenLength)
{
    // The text is not expected to be terminated where the length ends.
    const wchar_t text[] = L"prog a b c";
    StringList arguments;
    SplitCommandLine(text, 6, arguments);
    EXPECT_EQ((Tokens{L"a"}), ToVector(arguments));
    SplitCommandLine(nullptr, 5, arguments);
    EXPECT_TRUE(arguments.IsEmpty());
    SplitCommandLine(text, -1, arguments);
    EXPECT_TRUE(arguments.IsEmpty());
}

TEST(CommandLineTest, ReplacesEarlierContents)
{
    StringList arguments;
    arguments.Append(String(L"stale"));
    SplitCommandLine(L"prog new", 8, arguments);
    EXPECT_EQ((Tokens{L"new"}), ToVector(arguments));
}
