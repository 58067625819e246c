// Robustness runs for the version parser and the embedded settings parser:
// random and adversarial texts from fixed seeds, each copied out of a buffer
// that ends where an inaccessible page begins, checked against a second,
// straightforward reading of the rules on std::wstring.
#include "runtime/Version.h"
#include "settings/EmbeddedStore.h"
#include "support/guard/GuardedInput.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

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

// The text as the launcher's String, read from guarded memory.
String GuardedString(const std::wstring& text)
{
    GuardedInput<wchar_t> input(text.data(), text.size(), false);
    return String(input.get(), static_cast<int>(text.size()));
}

struct ReferenceVersion {
    bool ok = false;
    long long component[4] = {0, 0, 0, 0};
    int count = 0;
};

ReferenceVersion ReferenceParse(const std::wstring& text, int fill)
{
    ReferenceVersion v;
    size_t i = 0;
    int group = 0;
    while (true) {
        while (i < text.size() && !(text[i] >= L'0' && text[i] <= L'9'))
            ++i;
        if (i == text.size())
            break;
        if (group == 4) {
            ++group;  // a fifth group is counted, never read
            break;
        }
        long long value = 0;
        while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
            value = value * 10 + (text[i] - L'0');
            if (value > INT_MAX)
                return ReferenceVersion();  // an overlong group fails the whole text
            ++i;
        }
        v.component[group++] = value;
    }
    if (group == 0)
        return ReferenceVersion();
    v.ok = true;
    v.count = group;
    for (int j = group; j < 4; ++j)
        v.component[j] = fill;
    return v;
}

void ExpectSameVersion(const std::wstring& text, int fill)
{
    JavaVersion parsed;
    bool ok = ParseVersion(GuardedString(text), fill, parsed);
    ReferenceVersion expected = ReferenceParse(text, fill);
    SCOPED_TRACE(::testing::Message() << "text of " << text.size() << " characters, fill " << fill);
    ASSERT_EQ(expected.ok, ok);
    EXPECT_EQ(expected.count, parsed.count);
    for (int j = 0; j < 4; ++j)
        EXPECT_EQ(expected.component[j], parsed.component[j]);
}

}  // namespace

TEST(SettingsFuzzTest, VersionTextsMatchTheReference)
{
    std::mt19937 random(20261208);
    const std::wstring alphabet = L"0123456789.._-abjdkJDK \u00e9\u0660\xFFFF";
    for (int run = 0; run < 4000; ++run) {
        std::wstring text = RandomText(random, alphabet, 40);
        ExpectSameVersion(text, 0);
        ExpectSameVersion(text, kVersionOpenEnd);
        if (::testing::Test::HasFailure())
            return;
    }
}

TEST(SettingsFuzzTest, VersionEdgesAtTheGuardPage)
{
    for (const std::wstring& text : {std::wstring(), std::wstring(L"1"), std::wstring(L"."), std::wstring(L"1."),
                                     std::wstring(L"2147483647"), std::wstring(L"2147483648"),
                                     std::wstring(L"99999999999999999999"), std::wstring(300, L'9'),
                                     std::wstring(L"1.2.3.4.5.6.7"), std::wstring(5000, L'.') + L"7"}) {
        ExpectSameVersion(text, 0);
        ExpectSameVersion(text, kVersionOpenEnd);
    }
}

TEST(SettingsFuzzTest, VersionOrderIsConsistent)
{
    std::mt19937 random(7);
    const std::wstring alphabet = L"0123456789..";
    std::vector<JavaVersion> versions;
    for (int i = 0; i < 60; ++i) {
        JavaVersion v;
        ParseVersion(String(RandomText(random, alphabet, 12).c_str()), 0, v);
        versions.push_back(v);
    }
    for (const JavaVersion& a : versions) {
        EXPECT_EQ(0, CompareVersions(a, a));
        EXPECT_TRUE(MatchesPreferred(a, a));
        for (const JavaVersion& b : versions) {
            int ab = CompareVersions(a, b);
            int ba = CompareVersions(b, a);
            EXPECT_EQ(ab < 0, ba > 0);
            EXPECT_EQ(ab == 0, ba == 0);
        }
        // Whatever it prints parses back to a version that prints the same.
        JavaVersion reparsed;
        String printed = FormatVersion(a);
        ASSERT_TRUE(ParseVersion(printed, 0, reparsed));
        EXPECT_TRUE(FormatVersion(reparsed) == printed);
    }
}

namespace {

struct RefSection {
    std::wstring name;
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
};

bool Blank(wchar_t c) { return c <= 32; }

std::wstring Trim(const std::wstring& s)
{
    size_t b = 0, e = s.size();
    while (b < e && Blank(s[b]))
        ++b;
    while (e > b && Blank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

std::vector<RefSection> ReferenceIni(std::wstring text)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    if (!lines.empty() && !lines[0].empty() && lines[0][0] == 0xFEFF)
        lines[0].erase(0, 1);
    std::vector<RefSection> sections;
    for (const std::wstring& line : lines) {
        size_t b = 0;
        while (b < line.size() && Blank(line[b]))
            ++b;
        std::wstring rest = line.substr(b);
        if (!rest.empty() && rest[0] == L'[') {
            size_t e = rest.size();
            while (e > 0 && Blank(rest[e - 1]))
                --e;
            if (e >= 2 && rest[e - 1] == L']') {
                sections.push_back({rest.substr(1, e - 2), {}});
                continue;
            }
        }
        size_t equals = rest.find(L'=');
        if (sections.empty() || equals == std::wstring::npos)
            continue;
        sections.back().pairs.emplace_back(Trim(rest.substr(0, equals)), Trim(rest.substr(equals + 1)));
    }
    return sections;
}

std::wstring Std(const String& s) { return std::wstring(s.CStr(), s.Length()); }

}  // namespace

TEST(SettingsFuzzTest, EmbeddedIniTextsMatchTheReference)
{
    std::mt19937 random(1057);
    static const wchar_t letters[] = L"[]=ab \t\r\n\r\n\x1F\xFEFF+;#\u00e9\0";
    // Every character of the literal, the embedded zero included.
    const std::wstring alphabet(letters, sizeof(letters) / sizeof(letters[0]) - 1);
    for (int run = 0; run < 3000; ++run) {
        std::wstring text = RandomText(random, alphabet, 80);
        EmbeddedStore store;
        store.Parse(GuardedString(text));
        std::vector<RefSection> expected = ReferenceIni(text);
        const List<EmbeddedStore::Section>& sections = store.Sections();
        ASSERT_EQ(expected.size(), static_cast<size_t>(sections.Count())) << "run " << run;
        for (size_t s = 0; s < expected.size(); ++s) {
            const EmbeddedStore::Section& section = sections[static_cast<int>(s)];
            EXPECT_EQ(expected[s].name, Std(section.name));
            ASSERT_EQ(expected[s].pairs.size(), static_cast<size_t>(section.pairs.Count()));
            for (size_t p = 0; p < expected[s].pairs.size(); ++p) {
                EXPECT_EQ(expected[s].pairs[p].first, Std(section.pairs[static_cast<int>(p)].key));
                EXPECT_EQ(expected[s].pairs[p].second, Std(section.pairs[static_cast<int>(p)].value));
            }
        }
        if (::testing::Test::HasFailure())
            return;
    }
}
