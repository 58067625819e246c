#include "jvm/MemoryOptions.h"
#include "jvm/VmParameters.h"
#include "support/guard/GuardedInput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

std::wstring RandomText(std::mt19937& random, const std::wstring& alphabet, size_t maxLength)
{
    std::uniform_int_distribution<size_t> lengthPick(0, maxLength);
    std::uniform_int_distribution<size_t> charPick(0, alphabet.size() - 1);
    std::wstring text(lengthPick(random), L' ');
    for (wchar_t& c : text)
        c = alphabet[charPick(random)];
    return text;
}

// The unquoting rule written out again on std::wstring, in place.
std::wstring ReferenceRemoveQuotes(std::wstring s)
{
    size_t p = 0;
    while (p < s.size()) {
        size_t o = s.find(L'"', p);
        if (o == std::wstring::npos || o == s.size() - 1)
            break;
        size_t c = s.find(L'"', o + 1);
        if (c == std::wstring::npos)
            break;
        if (c != s.size() - 1 && s[c + 1] == L'"')
            ++c;
        std::wstring kept = s.substr(o + 1, c - o - 1);
        s.replace(o, c - o + 1, kept);
        p = o + kept.size();
    }
    return s;
}

std::wstring WithoutQuotes(std::wstring s)
{
    s.erase(std::remove(s.begin(), s.end(), L'"'), s.end());
    return s;
}

const std::wstring kParameterAlphabet = std::wstring(L"  \"\"\"-Dx=ab\t\u00e9") + L'\0';
const std::wstring kNumberAlphabet = std::wstring(L"0123456789999::-Xmsxp kKmMgGtT") + L'\0';

}  // namespace

TEST(JvmParserFuzzTest, FindTokenEndStaysInsideAndEndsAtASpace)
{
    std::mt19937 random(4711);
    for (int round = 0; round < 3000; ++round) {
        std::wstring text = RandomText(random, kParameterAlphabet, round < 2500 ? 20 : 700);
        GuardedInput<wchar_t> input(text.data(), text.size(), false);
        int length = static_cast<int>(text.size());
        // Walk the text the way the parameter splitter does.
        int start = 0;
        int pieces = 0;
        while (start <= length) {
            int end = FindTokenEnd(input.get(), length, start);
            ASSERT_GE(end, start) << "round " << round;
            ASSERT_LE(end, length);
            ASSERT_TRUE(end == length || text[end] == L' ');
            ASSERT_LE(++pieces, length + 1);
            int next = end;
            while (next < length && text[next] == L' ')
                ++next;
            if (next >= length)
                break;
            start = next;
        }
    }
}

TEST(JvmParserFuzzTest, RemoveQuotesMatchesTheReference)
{
    std::mt19937 random(1234);
    for (int round = 0; round < 3000; ++round) {
        std::wstring text = RandomText(random, kParameterAlphabet, round < 2500 ? 16 : 900);
        GuardedInput<wchar_t> input(text.data(), text.size(), false);
        String result = RemoveQuotes(input.get(), static_cast<int>(text.size()));
        std::wstring got(result.CStr(), result.Length());
        ASSERT_EQ(ReferenceRemoveQuotes(text), got) << "round " << round;
        // Quotes go in pairs and nothing else is lost or reordered.
        ASSERT_EQ(0u, (text.size() - got.size()) % 2);
        ASSERT_EQ(WithoutQuotes(text), WithoutQuotes(got));
    }
}

TEST(JvmParserFuzzTest, ParseNumberListInvariants)
{
    std::mt19937 random(99);
    for (int round = 0; round < 4000; ++round) {
        std::wstring text = RandomText(random, kNumberAlphabet, round < 3500 ? 18 : 400);
        GuardedInput<wchar_t> input(text.data(), text.size(), false);
        NumberList list = ParseNumberList(input.get(), static_cast<int>(text.size()));
        ASSERT_GE(list.prefixLength, 0);
        ASSERT_LE(list.prefixLength, static_cast<int>(text.size()));
        if (list.prefixLength == static_cast<int>(text.size())) {
            ASSERT_EQ(0, list.count);
        } else {
            // One number, plus one per ":" before the last character.
            long colons = std::count(text.begin() + list.prefixLength, text.end() - 1, L':');
            ASSERT_EQ(colons + 1, list.count) << "round " << round;
        }
        // Whatever the text, the rules built on the list keep their ranges.
        String parameter(input.get(), static_cast<int>(text.size()));
        String resolved = ResolveMemoryOption(parameter, MemoryFigures{4096ull << 20, 2048ull << 20});
        ASSERT_EQ(L'K', resolved.Last());
        ASSERT_LE(resolved.Length(), list.prefixLength + 11);
        StackSizeFromParameter(parameter);
    }
}

TEST(JvmParserFuzzTest, AdversarialEdgesAtTheGuardPage)
{
    const std::wstring texts[] = {L"\"", L"\"\"", L"\"\"\"", L" \"", L"\" ", L":", L"9", L"-Xss",
                                  std::wstring(3000, L'"'), std::wstring(3000, L':'), std::wstring(3000, L'9'),
                                  std::wstring(1, L'\0')};
    for (const std::wstring& text : texts) {
        GuardedInput<wchar_t> input(text.data(), text.size(), false);
        int length = static_cast<int>(text.size());
        EXPECT_LE(FindTokenEnd(input.get(), length, 0), length);
        String unquoted = RemoveQuotes(input.get(), length);
        EXPECT_EQ(ReferenceRemoveQuotes(text), std::wstring(unquoted.CStr(), unquoted.Length()));
        NumberList list = ParseNumberList(input.get(), length);
        EXPECT_LE(list.prefixLength, length);
    }
}
