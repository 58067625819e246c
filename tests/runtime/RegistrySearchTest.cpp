#include "SearchFixture.h"
#include "runtime/RegistryText.h"

#include <string>
#include <vector>

namespace runtime_test {
namespace {

using RegistrySearch = SearchFixture;

TEST_F(RegistrySearch, NewestRuntimeUnlessAPreferredVersionMatches)
{
    MakeHome(L"jre8", {L"client"});
    MakeHome(L"jdk11", {L"server"});
    Register(kRuntimeKey, L"1.8.0_201", L"jre8");
    Register(kJdkKey, L"11.0.2", L"jdk11");

    struct Case {
        std::initializer_list<const wchar_t*> preferred;
        const wchar_t* home;
    };
    const Case cases[] = {
        {{}, L"jdk11"},
        {{L"1.8"}, L"jre8"},
        {{L"1.7", L"1.8"}, L"jre8"},  // nothing is 1.7
        {{L"", L"1.8"}, L"jdk11"},    // an empty piece takes the first runtime
        {{L"9"}, L"jdk11"},           // a piece that matches nothing at all
        {{L"1.8.0_201"}, L"jre8"},
    };
    for (const Case& c : cases) {
        SetPreferred(c.preferred);
        EXPECT_EQ(Search(), Home(c.home)) << testing::PrintToString(
            std::vector<std::wstring>(c.preferred.begin(), c.preferred.end()));
    }
    // The working record holds the chosen version.
    EXPECT_EQ(m_app.m_versionRequirement.working.component[0], 1);
    EXPECT_EQ(m_app.m_versionRequirement.working.component[3], 201);
    EXPECT_FALSE(m_app.m_launchPair);
}

TEST_F(RegistrySearch, SourceAndProviderChooseTheKeysRead)
{
    // One runtime in every vendor key; key k holds version 1.k.
    const wchar_t* keys[] = {kJdkKey, kJreKey, kDevelopmentKitKey, kRuntimeKey,
                             kJRockitJreKey, kJRockitJdkKey, kIbmKey};
    for (int k = 0; k < 7; ++k) {
        std::wstring name = L"rt" + std::to_wstring(k + 1);
        // The two "Java Development Kit" keys use the home's jre folder.
        bool jdkFolder = k == 2 || k == 5;
        MakeHome(jdkFolder ? name + L"\\jre" : name, {L"client"});
        Register(keys[k], L"1." + std::to_wstring(k + 1) + L".0", name);
    }
    struct Row {
        const wchar_t* source;
        const wchar_t* provider;
        const char* searched;  // keys 1..7
    };
    const Row rows[] = {
        {L"", L"", "1234"},
        {L"only_JRE", L"jrockit", "5"},
        {L"only_JDK", L"favor_ibm", "136"},
        {L"favor_JRE", L"ibm", "7"},
        {L"favor_JDK", L"any", "1234567"},
        {L"Only_JDK", L"any", ""},
    };
    for (const Row& row : rows) {
        m_app.m_allowOtherKind = true;
        SetSource(row.source);
        SetProvider(row.provider);
        std::string searched;
        for (int k = 1; k <= 7; ++k) {
            std::wstring version = L"1." + std::to_wstring(k);
            SetPreferred({version.c_str()});
            std::wstring home = Search();
            std::wstring expected = Home(L"rt" + std::to_wstring(k)) + (k == 3 || k == 6 ? L"jre\\" : L"");
            if (home == expected)
                searched += static_cast<char>('0' + k);
            else if (row.searched[0] == 0)
                EXPECT_EQ(home, L"") << "no key may be read";
        }
        EXPECT_EQ(searched, row.searched) << testing::PrintToString(std::wstring(row.source)) << " / "
                                          << testing::PrintToString(std::wstring(row.provider));
    }
}

TEST_F(RegistrySearch, FavouredRuntimesLeadOnlyWhenBothKindsAreAllowed)
{
    MakeHome(L"sunjdk6", {L"client"});
    MakeHome(L"sunjre11", {L"client"});
    MakeHome(L"rockit7\\jre", {L"client"});
    Register(kJdkKey, L"1.6", L"sunjdk6");
    Register(kJreKey, L"11", L"sunjre11");
    Register(kJRockitJdkKey, L"1.7", L"rockit7");

    SetSource(L"favor_JDK");  // only the Sun JDK is favoured
    SetProvider(L"favor_sun");
    EXPECT_EQ(Search(), Home(L"sunjdk6"));

    SetSource(L"");  // Sun runtimes of both kinds are favoured
    EXPECT_EQ(Search(), Home(L"sunjre11"));

    SetSource(L"only_JDK");  // favour no longer counts: the newest JDK
    EXPECT_EQ(Search(), Home(L"rockit7\\jre"));
}

TEST_F(RegistrySearch, FavorServerPutsServerVmsFirst)
{
    MakeHome(L"server6", {L"server"});
    MakeHome(L"client8", {L"client"});
    Register(kJreKey, L"1.6", L"server6");
    Register(kJreKey, L"1.8", L"client8");

    EXPECT_EQ(Search(), Home(L"client8"));
    m_app.m_jvmType = JvmType::FavorServer;
    EXPECT_EQ(Search(), Home(L"server6"));
    m_app.m_jvmType = JvmType::Server;  // a runtime without a server VM is no candidate
    EXPECT_EQ(Search(), Home(L"server6"));
    SetPreferred({L"1.8"});
    EXPECT_EQ(Search(), Home(L"server6"));
}

TEST_F(RegistrySearch, JavaRuntimeEnvironmentKeyIsTestedClientFirstUnderFavorServer)
{
    MakeHome(L"both6", {L"client", L"server"});
    MakeHome(L"server5", {L"server"});
    Register(kRuntimeKey, L"1.6", L"both6");
    Register(kJreKey, L"1.5", L"server5");
    m_app.m_jvmType = JvmType::FavorServer;

    // Recorded as a client runtime, so the older server-only runtime leads.
    EXPECT_EQ(Search(), Home(L"server5"));

    // Alone, it is chosen, and the library taken is its server VM.
    m_registry.Clear();
    Register(kRuntimeKey, L"1.6", L"both6");
    ASSERT_TRUE(Find());
    EXPECT_EQ(Library(), Home(L"both6") + L"bin\\server\\jvm.dll");
}

TEST_F(RegistrySearch, VersionWindow)
{
    MakeHome(L"six", {L"client"});
    MakeHome(L"eight", {L"client"});
    MakeHome(L"eleven", {L"client"});
    Register(kJreKey, L"1.6.0_45", L"six");
    Register(kJreKey, L"1.8.0_201", L"eight");
    Register(kJreKey, L"11.0.2", L"eleven");
    Register(kJreKey, L"latest", L"eleven");  // no digits: 0.0.0.0

    struct Case {
        const wchar_t* minimum;
        const wchar_t* maximum;
        const wchar_t* home;
    };
    const Case cases[] = {
        {L"any", L"any", L"eleven"},
        {L"1.8", L"1.8", L"eight"},
        {L"1.6", L"1.8.0_201", L"eight"},
        {L"1.5", L"1.6", L"six"},
        {L"1.7", L"", L"eleven"},        // no "Maximum Version": no upper bound
        {L"1.7", L"none", L"eleven"},    // a maximum without digits likewise
        {L"any", L"1.5", L"eleven"},     // only the digitless name is in range
        {L"12", L"any", L""},
        {L"1.7", L"1.7", L""},
    };
    for (const Case& c : cases) {
        SetRange(c.minimum, c.maximum);
        std::wstring expected = c.home[0] ? Home(c.home) : L"";
        EXPECT_EQ(Search(), expected) << testing::PrintToString(std::wstring(c.minimum)) << ".."
                                      << testing::PrintToString(std::wstring(c.maximum));
    }
}

TEST_F(RegistrySearch, DevelopmentKitKeysUseTheJreFolder)
{
    MakeHome(L"jdk8\\jre", {L"client"});
    MakeHome(L"jdk11", {L"server"});
    MakeHome(L"flat8", {L"client"});  // no jre folder: not usable from that key
    Register(kDevelopmentKitKey, L"1.8", L"jdk8");
    Register(kDevelopmentKitKey, L"1.8.0_300", L"flat8");
    Register(kJdkKey, L"11", L"jdk11");

    SetPreferred({L"1.8"});
    EXPECT_EQ(Search(), Home(L"jdk8") + L"jre\\");
    SetPreferred({});
    EXPECT_EQ(Search(), Home(L"jdk11"));
}

TEST_F(RegistrySearch, OnlyTheLaunchersOwnViewIsReadByDefault)
{
    MakeHome(L"other", {L"server"});
    Register(kJreKey, L"11", L"other", kOtherView);
    EXPECT_EQ(Search(RegistryView::Default), L"");
    EXPECT_FALSE(m_app.m_launchPair);

    MakeHome(L"own", {L"client"});
    Register(kJreKey, L"1.8", L"own");
    EXPECT_EQ(Search(RegistryView::Default), Home(L"own"));
    EXPECT_FALSE(m_app.m_launchPair);
}

TEST_F(RegistrySearch, The64BitPassReadsOnlyThe64BitView)
{
    MakeHome(L"x86", {L"client"});
    Register(kJreKey, L"1.8", L"x86", KEY_WOW64_32KEY);
    EXPECT_EQ(Search(RegistryView::Force64), L"");
    EXPECT_FALSE(m_app.m_launchPair);

    MakeHome(L"x64", {L"server"});
    Register(kJreKey, L"11", L"x64", KEY_WOW64_64KEY);
    SetPreferred({L"1.8"});  // the 32-bit runtime would be chosen if it were read
    EXPECT_EQ(Search(RegistryView::Force64), Home(L"x64"));
    // For the 32-bit launcher that is the other machine's view, whose runtimes
    // go to the pair. For the 64-bit launcher it is its own view, which the
    // first pass has read already (see below).
    if (!kIs64BitLauncher)
        EXPECT_TRUE(m_app.m_launchPair);
}

// The second registry pass, over the 64-bit view, runs only with a paired
// launcher. For the 32-bit launcher that is the other view, and a runtime found
// only there goes to the pair. For the 64-bit launcher it is its own view again:
// the 32-bit view is never read and nothing is handed to the pair.
TEST_F(RegistrySearch, OtherViewRuntimesGoToThePairOfThe32BitLauncherOnly)
{
    MakeHome(L"other", {L"server"});
    Register(kJreKey, L"11", L"other", kOtherView);

    EXPECT_FALSE(Find());
    EXPECT_EQ(Library(), L"");
    EXPECT_FALSE(m_app.m_launchPair);

    m_app.m_pairProduct = kPairProductName;
    if (kIs64BitLauncher) {
        EXPECT_FALSE(Find());
        EXPECT_EQ(Library(), L"");
        EXPECT_FALSE(m_app.m_launchPair);
    } else {
        ASSERT_TRUE(Find());
        EXPECT_EQ(Library(), Home(L"other") + L"bin\\server\\jvm.dll");
        EXPECT_TRUE(m_app.m_launchPair);
    }

    // A runtime of the launcher's own view comes first, though older, and stays with it.
    MakeHome(L"own", {L"client"});
    Register(kJreKey, L"1.8", L"own");
    ASSERT_TRUE(Find());
    EXPECT_EQ(Library(), Home(L"own") + L"bin\\client\\jvm.dll");
    EXPECT_FALSE(m_app.m_launchPair);
}

TEST_F(RegistrySearch, MalformedJavaHomeValuesAreReadSafely)
{
    MakeHome(L"home", {L"client"});
    const std::wstring path = m_folder / L"home";
    const std::string text(reinterpret_cast<const char*>(path.c_str()), path.size() * 2);
    const std::string nul(2, '\0');
    const std::string huge(1 << 20, 'A');  // half a million U+4141, no NUL
    const DWORD dword = 42;

    struct Case {
        const char* name;
        DWORD type;
        std::string bytes;
        bool usable;
    };
    const Case cases[] = {
        {"REG_SZ", REG_SZ, text + nul, true},
        {"no terminating NUL", REG_SZ, text, true},
        {"REG_BINARY", REG_BINARY, text, true},
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, text + nul, true},
        {"odd length", REG_SZ, text + "\x41", true},
        {"text after a NUL", REG_SZ, text + nul + "g\0a\0r\0b\0", true},
        {"trailing backslash", REG_SZ, text + std::string("\\\0", 2), true},
        {"last character cut in half", REG_SZ, text.substr(0, text.size() - 1), false},
        {"empty", REG_SZ, "", false},
        {"only a NUL", REG_SZ, nul, false},
        {"one byte", REG_BINARY, "C", false},
        {"huge", REG_SZ, huge, false},
        {"REG_DWORD", REG_DWORD, std::string(reinterpret_cast<const char*>(&dword), 4), false},
    };
    for (const Case& c : cases) {
        m_registry.RegisterRaw(kLauncherView, kJreKey, L"1.8", c.type, c.bytes.data(),
                               static_cast<DWORD>(c.bytes.size()));
        EXPECT_EQ(Search(), c.usable ? Home(L"home") : L"") << c.name;
        m_registry.Clear();
    }
    // No value at all.
    m_registry.RegisterRaw(kLauncherView, kJreKey, L"1.8", REG_SZ, nullptr, 0);
    EXPECT_EQ(Search(), L"");
}

TEST_F(RegistrySearch, AnUnreadableCandidateDoesNotHideTheOthers)
{
    MakeHome(L"good", {L"client"});
    MakeHome(L"nojvm", {});
    m_registry.RegisterRaw(kLauncherView, kJreKey, L"17", REG_BINARY, "\x01", 1);
    Register(kJreKey, L"11", L"nojvm");
    Register(kJreKey, L"10", L"missing");
    Register(kJreKey, L"1.8", L"good");
    EXPECT_EQ(Search(), Home(L"good"));
}

TEST(RegistryText, CutsAtTheFirstNulAndDropsAnOddByte)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\jlaunch-runtime-test", 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    struct Case {
        std::string bytes;
        const wchar_t* expected;  // null: no text
    };
    const Case cases[] = {
        {std::string("a\0b\0", 4), L"ab"},
        {std::string("a\0b\0c", 5), L"ab"},
        {std::string("a\0\0\0b\0", 6), L"a"},
        {std::string("\0\0a\0", 4), nullptr},
        {std::string("a", 1), nullptr},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(RegSetValueExW(key, L"v", 0, REG_BINARY, reinterpret_cast<const BYTE*>(c.bytes.data()),
                                 static_cast<DWORD>(c.bytes.size())),
                  ERROR_SUCCESS);
        String text(L"previous");
        bool read = ReadRegistryText(key, L"v", text);
        EXPECT_EQ(read, c.expected != nullptr) << c.bytes.size();
        EXPECT_STREQ(text.CStr(), c.expected ? c.expected : L"");
    }
    String text;
    EXPECT_FALSE(ReadRegistryText(key, L"missing", text));
    RegCloseKey(key);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\jlaunch-runtime-test");
}

}  // namespace
}  // namespace runtime_test
