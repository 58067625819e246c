#include "runtime/VendorKeys.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The flags each "JVM Source" text gives.
struct SourceRow {
    const char* source;
    bool allowOtherKind;
    bool jdkFirst;
    bool jreFirst;
};
const SourceRow kSources[] = {
    {"(empty)", true, true, true},
    {"favor_JRE", true, false, true},
    {"favor_JDK", true, true, false},
    {"only_JDK", false, true, false},
    {"only_JRE", false, false, true},
    {"Only_JDK (any other text)", false, false, false},
};

// The flags each "VM Provider" text gives: allow/prefer JRockit, Sun, IBM.
struct ProviderRow {
    const char* provider;
    bool allowJRockit, preferJRockit, allowSun, preferSun, allowIbm, preferIbm;
};
const ProviderRow kProviders[] = {
    {"(empty)", false, false, true, true, false, false},
    {"jrockit", true, true, false, false, false, false},
    {"ibm", false, false, false, false, true, true},
    {"favor_sun", true, false, true, true, true, false},
    {"favor_jrockit", true, true, true, false, true, false},
    {"favor_ibm", true, false, true, false, true, true},
    {"any", true, false, true, false, true, false},
};

RuntimeFilter Filter(const SourceRow& s, const ProviderRow& p)
{
    RuntimeFilter filter;
    filter.allowOtherKind = s.allowOtherKind;
    filter.jdkFirst = s.jdkFirst;
    filter.jreFirst = s.jreFirst;
    filter.allowJRockit = p.allowJRockit;
    filter.preferJRockit = p.preferJRockit;
    filter.allowSun = p.allowSun;
    filter.preferSun = p.preferSun;
    filter.allowIbm = p.allowIbm;
    filter.preferIbm = p.preferIbm;
    return filter;
}

// Keys as digits 1..7 in search order:
// 1 JavaSoft\JDK, 2 JavaSoft\JRE, 3 JavaSoft\Java Development Kit,
// 4 JavaSoft\Java Runtime Environment, 5 JRockit\JRE, 6 JRockit\JDK, 7 IBM.
std::string Searched(const RuntimeFilter& filter)
{
    std::string keys;
    for (int i = 0; i < kVendorKeyCount; ++i)
        if (IsVendorKeySearched(i, filter))
            keys += static_cast<char>('1' + i);
    return keys;
}

std::string Favored(const RuntimeFilter& filter)
{
    std::string keys;
    for (int i = 0; i < kVendorKeyCount; ++i)
        if (IsVendorKeySearched(i, filter) && IsVendorKeyFavored(i, filter))
            keys += static_cast<char>('1' + i);
    return keys;
}

TEST(VendorKeys, SourceAndProviderSelectTheKeysSearched)
{
    // Rows: "JVM Source"; columns: "VM Provider" in kProviders order.
    const char* expected[6][7] = {
        /* empty     */ {"1234", "56", "7", "1234567", "1234567", "1234567", "1234567"},
        /* favor_JRE */ {"1234", "56", "7", "1234567", "1234567", "1234567", "1234567"},
        /* favor_JDK */ {"1234", "56", "7", "1234567", "1234567", "1234567", "1234567"},
        /* only_JDK  */ {"13", "6", "", "136", "136", "136", "136"},
        /* only_JRE  */ {"24", "5", "7", "2457", "2457", "2457", "2457"},
        /* other     */ {"", "", "", "", "", "", ""},
    };
    for (int s = 0; s < 6; ++s)
        for (int p = 0; p < 7; ++p)
            EXPECT_EQ(Searched(Filter(kSources[s], kProviders[p])), expected[s][p])
                << kSources[s].source << " x " << kProviders[p].provider;
}

TEST(VendorKeys, FavouredKeysNeedBothKindAndProvider)
{
    const char* expected[6][7] = {
        /* empty     */ {"1234", "56", "7", "1234", "56", "7", ""},
        /* favor_JRE */ {"24", "5", "7", "24", "5", "7", ""},
        /* favor_JDK */ {"13", "6", "", "13", "6", "", ""},
        /* only_JDK  */ {"13", "6", "", "13", "6", "", ""},
        /* only_JRE  */ {"24", "5", "7", "24", "5", "7", ""},
        /* other     */ {"", "", "", "", "", "", ""},
    };
    for (int s = 0; s < 6; ++s)
        for (int p = 0; p < 7; ++p)
            EXPECT_EQ(Favored(Filter(kSources[s], kProviders[p])), expected[s][p])
                << kSources[s].source << " x " << kProviders[p].provider;
}

TEST(VendorKeys, OnlyTheJdkKeysOfNamedFoldersUseTheirJreSubfolder)
{
    std::string withJre, clientFirst;
    for (int i = 0; i < kVendorKeyCount; ++i) {
        if (GetVendorKey(i).jreSubfolder)
            withJre += static_cast<char>('1' + i);
        if (GetVendorKey(i).clientFirst)
            clientFirst += static_cast<char>('1' + i);
        std::wstring path = GetVendorKey(i).path;
        EXPECT_NE(path.back(), L'\\');
        EXPECT_EQ(path.rfind(L"Software\\", 0), 0u);
    }
    EXPECT_EQ(withJre, "36");
    EXPECT_EQ(clientFirst, "4");
}

}  // namespace
