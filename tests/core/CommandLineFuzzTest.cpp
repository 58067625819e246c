#include "core/CommandLineTokens.h"
#include "support/guard/GuardedInput.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Inputs built mostly from the characters the tokenizer cares about.
std::wstring RandomLine(std::mt19937& random, size_t maxLength)
{
    static const wchar_t alphabet[] = {L' ', L' ', L'"', L'"', L'a', L'b', L'\t', L'\r', L'\n', L'\\',
                                       L'\0', L'\u00e9', L'\xD800', L'\xDC00', L'\xFFFF', L'-'};
    std::uniform_int_distribution<size_t> lengthPick(0, maxLength);
    std::uniform_int_distribution<size_t> charPick(0, sizeof(alphabet) / sizeof(alphabet[0]) - 1);
    std::wstring line(lengthPick(random), L' ');
    for (wchar_t& c : line)
        c = alphabet[charPick(random)];
    return line;
}

// A straightforward second reading of the rule, on std::wstring.
std::vector<std::wstring> ReferenceSplit(const std::wstring& text)
{
    std::vector<std::wstring> tokens;
    size_t i = 0;
    while (true) {
        while (i < text.size() && text[i] == L' ')
            ++i;
        if (i == text.size())
            return tokens;
        if (text[i] == L'"') {
            size_t close = text.find(L'"', i + 1);
            if (close == std::wstring::npos) {
                tokens.push_back(text.substr(i + 1));
                return tokens;
            }
            tokens.push_back(text.substr(i + 1, close - i - 1));
            i = close + 1;
        } else {
            size_t space = text.find(L' ', i);
            if (space == std::wstring::npos)
                space = text.size();
            tokens.push_back(text.substr(i, space - i));
            i = space;
        }
    }
}

std::vector<std::wstring> Guarded(const std::wstring& text)
{
    GuardedInput<wchar_t> input(text.data(), text.size(), false);
    StringList tokens;
    SplitTokens(input.get(), static_cast<int>(text.size()), tokens);
    std::vector<std::wstring> result;
    for (const String& token : tokens)
        result.emplace_back(token.CStr(), token.Length());
    return result;
}

}  // namespace

TEST(CommandLineFuzzTest, RandomLinesMatchTheReferenceAndStayInBounds)
{
    std::mt19937 random(20240131);
    for (int round = 0; round < 4000; ++round) {
        std::wstring line = RandomLine(random, round < 3000 ? 24 : 600);
        std::vector<std::wstring> tokens = Guarded(line);
        ASSERT_EQ(ReferenceSplit(line), tokens) << "round " << round;
        // Every unquoted token is free of spaces; nothing is longer than the line.
        size_t total = 0;
        for (const std::wstring& token : tokens)
            total += token.size();
        ASSERT_LE(total, line.size());
    }
}

TEST(CommandLineFuzzTest, AdversarialLinesEndingAtTheGuardPage)
{
    const std::wstring lines[] = {
        L"\"", L" ", L"\"\"", L"\" ", L" \"", L"a\"", L"\"a", std::wstring(5000, L'"'),
        std::wstring(5000, L' '), std::wstring(5000, L'a'), std::wstring(1, L'\0'), L"prog \"\t",
    };
    for (const std::wstring& line : lines) {
        EXPECT_EQ(ReferenceSplit(line), Guarded(line));
        GuardedInput<wchar_t> input(line.data(), line.size(), false);
        StringList arguments;
        SplitCommandLine(input.get(), static_cast<int>(line.size()), arguments);
        EXPECT_LE(arguments.Count(), static_cast<int>(line.size()));
    }
}
