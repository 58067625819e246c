#include "runtime/CandidateRanking.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

JavaVersion Version(const wchar_t* text, int32_t fill = 0)
{
    JavaVersion version;
    ParseVersion(String(text), fill, version);
    return version;
}

JavaRuntime Runtime(const wchar_t* version, const wchar_t* home, bool favored = false, bool isServer = false)
{
    JavaRuntime runtime;
    runtime.version = Version(version);
    runtime.home = home;
    runtime.favored = favored;
    runtime.isServer = isServer;
    return runtime;
}

std::vector<std::wstring> Homes(const RuntimeList& list)
{
    std::vector<std::wstring> homes;
    for (const JavaRuntime& runtime : list)
        homes.push_back(runtime.home.CStr());
    return homes;
}

StringList Texts(std::initializer_list<const wchar_t*> texts)
{
    StringList list;
    for (const wchar_t* text : texts)
        list.Append(String(text));
    return list;
}

using Homes_ = std::vector<std::wstring>;

TEST(SortRuntimes, AppliesTheFirstRuleThatTellsRuntimesApart)
{
    struct Case {
        const char* name;
        RankingRules rules;
        Homes_ expected;
    };
    // a: old, favoured, client. b: newest, not favoured, client.
    // c: middle, not favoured, server. d: same version as a, favoured, server.
    const Case cases[] = {
        {"newest first when no rule is on", {false, false}, {L"b", L"c", L"a", L"d"}},
        {"favoured lead, then newest", {true, false}, {L"a", L"d", L"b", L"c"}},
        {"server VMs lead, then newest", {false, true}, {L"c", L"d", L"b", L"a"}},
        {"favour outranks server", {true, true}, {L"d", L"a", L"c", L"b"}},
    };
    for (const Case& c : cases) {
        RuntimeList list;
        list.Append(Runtime(L"1.6.0_10", L"a", true, false));
        list.Append(Runtime(L"11.0.2", L"b", false, false));
        list.Append(Runtime(L"1.8.0_201", L"c", false, true));
        list.Append(Runtime(L"1.6.0_10", L"d", true, true));
        SortRuntimes(list, c.rules);
        EXPECT_EQ(Homes(list), c.expected) << c.name;
    }
}

TEST(SortRuntimes, KeepsCollectionOrderForTies)
{
    RuntimeList list;
    // The fifth group and the underscore do not count: all four are 1.8.0.201.
    list.Append(Runtime(L"1.8.0_201", L"first"));
    list.Append(Runtime(L"1.8.0_201-b09", L"second"));
    list.Append(Runtime(L"1.8.0.201", L"third"));
    list.Append(Runtime(L"1.7", L"old"));
    list.Append(Runtime(L"1.8.0_201", L"fourth"));
    SortRuntimes(list, RankingRules{true, true});
    EXPECT_EQ(Homes(list), (Homes_{L"first", L"second", L"third", L"fourth", L"old"}));
}

TEST(SortRuntimes, OrdersManyRuntimesNewestFirst)
{
    RuntimeList list;
    for (int i = 0; i < 50; ++i) {
        std::wstring text = L"1." + std::to_wstring((i * 37) % 50);
        list.Append(Runtime(text.c_str(), text.c_str()));
    }
    SortRuntimes(list, RankingRules{});
    for (int i = 1; i < list.Count(); ++i)
        EXPECT_GE(CompareVersions(list[i - 1].version, list[i].version), 0) << i;
}

TEST(ChooseRuntime, TakesTheFirstPreferredTextThatMatchesAnything)
{
    // Sorted order as the search would have it.
    RuntimeList sorted;
    sorted.Append(Runtime(L"11.0.2", L"11.0.2"));
    sorted.Append(Runtime(L"1.8.0_201", L"1.8.0_201"));
    sorted.Append(Runtime(L"1.8.0_05", L"1.8.0_05"));
    sorted.Append(Runtime(L"1.0.5_1", L"1.0.5_1"));

    struct Case {
        std::initializer_list<const wchar_t*> preferred;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {{}, L"11.0.2"},
        {{L"1.8"}, L"1.8.0_201"},
        {{L"1.7", L"1.8"}, L"1.8.0_201"},           // 1.7 matches nothing
        {{L"", L"1.8"}, L"11.0.2"},                 // an empty piece matches the first runtime
        {{L"x", L"1.8"}, L"11.0.2"},                // so does a piece without digits
        {{L"9"}, L"11.0.2"},                        // no match at all: the first runtime
        {{L"1.8.0_05"}, L"1.8.0_05"},
        {{L"1.8.0.5.7"}, L"1.8.0_05"},              // a fifth group is ignored
        {{L"1"}, L"1.8.0_201"},                     // 1.0.0.0 is the prefix 1
        {{L"1.0.5"}, L"1.0.5_1"},                   // an inner zero is compared
        {{L"11", L"1.8"}, L"11.0.2"},
    };
    for (const Case& c : cases) {
        StringList preferred;
        for (const wchar_t* text : c.preferred)
            preferred.Append(String(text));
        int index = ChooseRuntime(sorted, preferred);
        ASSERT_GE(index, 0);
        EXPECT_STREQ(sorted[index].home.CStr(), c.expected) << testing::PrintToString(std::vector<std::wstring>(
            c.preferred.begin(), c.preferred.end()));
    }
    EXPECT_EQ(ChooseRuntime(RuntimeList(), Texts({L"1.8"})), -1);
}

TEST(IsInVersionWindow, HonoursBothEndsInclusively)
{
    JavaVersion any;  // what the settings give for "any"/"any"
    any.count = 4;
    JavaVersion open = Version(L"65535.65535.65535.65535", 65535);
    JavaVersion absent;  // "Maximum Version" missing or without digits
    struct Case {
        const wchar_t* candidate;
        JavaVersion minimum;
        JavaVersion maximum;
        bool expected;
    };
    const Case cases[] = {
        {L"1.8.0_201", any, open, true},
        {L"1.8.0_201", Version(L"1.8"), Version(L"1.8", 65535), true},
        {L"1.8", Version(L"1.8"), Version(L"1.8", 65535), true},        // lower end inclusive
        {L"1.7.0_80", Version(L"1.8"), Version(L"1.8", 65535), false},
        {L"11.0.2", Version(L"1.8"), Version(L"1.8", 65535), false},
        {L"1.8.0_201", Version(L"1.6"), Version(L"1.8.0_201", 65535), true},  // upper end inclusive
        {L"1.8.0_202", Version(L"1.6"), Version(L"1.8.0_201"), false},
        {L"java", any, open, true},                                     // a name without digits is 0.0.0.0
        {L"java", Version(L"1.6"), open, false},
        // An absent maximum sets no upper bound.
        {L"11.0.2", Version(L"1.6"), absent, true},
        {L"17", any, absent, true},
        {L"1.5", Version(L"1.6"), absent, false},
        {L"11.0.2", Version(L"Any"), Version(L"Any", 65535), true},      // "Any" parses to nothing: no bounds
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsInVersionWindow(Version(c.candidate), c.minimum, c.maximum), c.expected) << c.candidate;
}

}  // namespace

TEST(PredatesModules, RuntimesBefore9HaveNoModuleSystem)
{
    struct {
        const wchar_t* version;
        bool predates;
    } cases[] = {{L"1.8.0_201", true}, {L"8", true},      {L"1.6", true},    {L"9", false},
                 {L"11.0.2", false},   {L"1.9.0", false}, {L"21.0.1", false}, {L"", false}};
    for (const auto& c : cases)
        EXPECT_EQ(PredatesModules(Version(c.version)), c.predates) << testing::PrintToString(std::wstring(c.version));
}
