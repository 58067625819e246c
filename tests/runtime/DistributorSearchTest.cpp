// Runtimes registered the way today's OpenJDK distributors' installers do it.
#include "SearchFixture.h"
#include "runtime/PeImageView.h"

#include <string>
#include <vector>

namespace runtime_test {
namespace {


class DistributorSearch : public SearchFixture {
protected:
    // One value of a registration: <key>\<value> = the path of a home made
    // below (or of a folder that does not exist).
    struct Value {
        const wchar_t* key;
        const wchar_t* name;
        const wchar_t* home;
        HKEY root = HKEY_LOCAL_MACHINE;
        REGSAM view = kLauncherView;
    };

    void SetUp() override
    {
        SearchFixture::SetUp();
        MakeInstall(L"temurin17", "JAVA_VERSION=\"17.0.9\"\n", true);
        MakeInstall(L"temurin21", "IMPLEMENTOR=\"Eclipse Adoptium\"\nJAVA_VERSION=\"21.0.1\"\n", true);
        MakeInstall(L"microsoft11", "JAVA_VERSION=\"11.0.21\"\n", true);
        MakeInstall(L"semeru17", "JAVA_VERSION=\"17.0.8.1\"\n", false);
        MakeInstall(L"zulu17", "JAVA_VERSION=\"17.0.9\"\r\n", true);
        MakeInstall(L"zulu21jre", "JAVA_VERSION=\"21.0.1\"\r\n", false);
        MakeInstall(L"liberica8", "JAVA_VERSION=\"1.8.0_392\"\n", true);
        MakeInstall(L"corretto11", "JAVA_VERSION=\"11.0.21\"\n", true);
        MakeInstall(L"norelease", "", true);
        MakeHome(L"classic8", {L"client"});
    }

    void MakeInstall(const std::wstring& name, const std::string& release, bool jdk)
    {
        MakeHome(name, {L"server"});
        if (!release.empty())
            WriteBytes(m_folder / name + L"\\release", release);
        if (jdk)
            WriteBytes(m_folder / name + L"\\bin\\javac.exe", "javac");
    }

    void Set(const Value& value)
    {
        m_registry.SetText(value.root, value.view, value.key, value.name, m_folder / value.home);
    }
};

TEST_F(DistributorSearch, EachVendorsLayout)
{
    struct Case {
        const char* name;
        std::vector<Value> values;
        const wchar_t* home;  // "" when nothing is found
    };
    const Case cases[] = {
        {"Temurin JDK", {{L"Software\\Eclipse Adoptium\\JDK\\17.0.9.9\\hotspot\\MSI", L"Path", L"temurin17"}},
         L"temurin17"},
        {"Temurin JRE", {{L"Software\\Eclipse Adoptium\\JRE\\21.0.1.12\\hotspot\\MSI", L"Path", L"temurin21"}},
         L"temurin21"},
        {"AdoptOpenJDK, OpenJ9 build", {{L"Software\\AdoptOpenJDK\\JDK\\11.0.21.9\\openj9\\MSI", L"Path",
                                         L"microsoft11"}},
         L"microsoft11"},
        {"Eclipse Foundation", {{L"Software\\Eclipse Foundation\\JDK\\17.0.9.9\\hotspot\\MSI", L"Path",
                                 L"temurin17"}},
         L"temurin17"},
        {"Microsoft", {{L"Software\\Microsoft\\JDK\\11.0.21.9\\hotspot\\MSI", L"Path", L"microsoft11"}},
         L"microsoft11"},
        {"Semeru", {{L"Software\\Semeru\\JRE\\17.0.8.1\\openj9\\MSI", L"Path", L"semeru17"}}, L"semeru17"},
        {"no hotspot\\MSI: JavaHome on the version key", {{L"Software\\Eclipse Adoptium\\JDK\\17.0.9.9", L"JavaHome",
                                                            L"temurin17"}},
         L"temurin17"},
        {"no hotspot\\MSI and no JavaHome", {{L"Software\\Eclipse Adoptium\\JDK\\21.0.1.12\\hotspot\\EXE",
                                              L"Path", L"temurin21"},
                                             {L"Software\\Microsoft\\JDK\\11.0.21.9\\hotspot\\MSI", L"Path",
                                              L"microsoft11"}},
         L"microsoft11"},
        {"Zulu: the newest by the release files", {{L"Software\\Azul Systems\\Zulu\\zulu-17", L"InstallationPath",
                                                    L"zulu17"},
                                                   {L"Software\\Azul Systems\\Zulu\\zulu-21-jre", L"InstallationPath",
                                                    L"zulu21jre"}},
         L"zulu21jre"},
        {"Liberica", {{L"Software\\BellSoft\\Liberica\\JDK 8", L"InstallationPath", L"liberica8"}}, L"liberica8"},
        {"Corretto, one level further down", {{L"Software\\Amazon Corretto\\JDK\\11.0.21", L"JavaHome",
                                               L"corretto11"}},
         L"corretto11"},
        {"a version only in the release file", {{L"Software\\Eclipse Adoptium\\JDK\\17.0.9.9\\hotspot\\MSI", L"Path",
                                                 L"temurin17"},
                                                {L"Software\\Eclipse Adoptium\\JDK\\latest\\hotspot\\MSI", L"Path",
                                                 L"temurin21"}},
         L"temurin21"},
        {"a registered folder that is gone", {{L"Software\\Microsoft\\JDK\\21.0.1.12\\hotspot\\MSI", L"Path",
                                               L"uninstalled"}},
         L""},
        {"a home registered for the current user", {{L"Software\\Eclipse Adoptium\\JDK\\17.0.9.9\\hotspot\\MSI",
                                                     L"Path", L"temurin17", HKEY_CURRENT_USER}},
         L"temurin17"},
        {"a classic key wins over a newer distributor", {{L"Software\\JavaSoft\\JRE\\1.8", L"JavaHome", L"classic8"},
                                                         {L"Software\\Eclipse Adoptium\\JDK\\21.0.1.12\\hotspot\\MSI",
                                                          L"Path", L"temurin21"}},
         L"classic8"},
        {"the other view is another pass", {{L"Software\\Eclipse Adoptium\\JDK\\17.0.9.9\\hotspot\\MSI", L"Path",
                                             L"temurin17", HKEY_LOCAL_MACHINE, kOtherView}},
         L""},
    };
    for (const Case& c : cases) {
        for (const Value& value : c.values)
            Set(value);
        std::wstring expected = c.home[0] ? Home(c.home) : L"";
        EXPECT_EQ(Search(), expected) << c.name;
        EXPECT_FALSE(m_app.m_launchPair) << c.name;
        m_registry.Clear();
    }
}

TEST_F(DistributorSearch, SettingsApplyAsToTheClassicKeys)
{
    Set({L"Software\\Eclipse Adoptium\\JDK\\17.0.9.9\\hotspot\\MSI", L"Path", L"temurin17"});
    Set({L"Software\\Semeru\\JRE\\17.0.8.1\\openj9\\MSI", L"Path", L"semeru17"});
    Set({L"Software\\Azul Systems\\Zulu\\zulu-21-jre", L"InstallationPath", L"zulu21jre"});
    Set({L"Software\\BellSoft\\Liberica\\JDK 8", L"InstallationPath", L"liberica8"});
    Set({L"Software\\Microsoft\\JDK\\latest\\hotspot\\MSI", L"Path", L"norelease"});  // 0.0.0.0

    struct Case {
        const char* name;
        const wchar_t* source;
        const wchar_t* provider;
        const wchar_t* minimum;
        const wchar_t* maximum;
        std::initializer_list<const wchar_t*> preferred;
        const wchar_t* home;
    };
    const Case cases[] = {
        {"defaults: the newest", L"", L"", L"any", L"any", {}, L"zulu21jre"},
        {"a window from the release files", L"", L"", L"1.8", L"17", {}, L"temurin17"},
        {"a window below them all", L"", L"", L"any", L"1.7", {}, L"norelease"},
        {"preferred versions", L"", L"", L"any", L"any", {L"1.8"}, L"liberica8"},
        {"only_JDK", L"only_JDK", L"", L"any", L"any", {}, L"temurin17"},
        {"only_JRE", L"only_JRE", L"", L"any", L"any", {}, L"zulu21jre"},
        {"favor_JDK", L"favor_JDK", L"", L"any", L"any", {}, L"temurin17"},
        {"a JVM Source word of no meaning", L"Only_JDK", L"", L"any", L"any", {}, L""},
        {"ibm: the OpenJ9 build only", L"", L"ibm", L"any", L"any", {}, L"semeru17"},
        {"favor_ibm: the OpenJ9 build first", L"", L"favor_ibm", L"any", L"any", {}, L"semeru17"},
        {"jrockit: none of them", L"", L"jrockit", L"any", L"any", {}, L""},
    };
    for (const Case& c : cases) {
        m_app.m_allowOtherKind = true;
        SetSource(c.source);
        SetProvider(c.provider);
        SetRange(c.minimum, c.maximum);
        SetPreferred(c.preferred);
        std::wstring expected = c.home[0] ? Home(c.home) : L"";
        EXPECT_EQ(Search(), expected) << c.name;
    }

    m_app.m_otherVendors = false;  // "Other Vendors=no"
    SetSource(L"");
    SetProvider(L"");
    SetRange(L"any", L"any");
    SetPreferred({});
    EXPECT_EQ(Search(), L"");
}

// Up to Java 8 the MSI installers name the version key after the product
// ("8.0.382.5") while the runtime itself says 1.8.0_382: a window or a
// preferred version written the classic way must meet it either way.
TEST_F(DistributorSearch, Java8KeysMeetAClassicWindow)
{
    MakeInstall(L"temurin8", "JAVA_VERSION=\"1.8.0_382\"\n", true);
    MakeInstall(L"adopt8", "", false);  // no release file: the key name is all there is
    const Value temurin8 = {L"Software\\Eclipse Adoptium\\JDK\\8.0.382.5\\hotspot\\MSI", L"Path", L"temurin8"};
    const Value adopt8 = {L"Software\\AdoptOpenJDK\\JRE\\8.0.292.10\\hotspot\\MSI", L"Path", L"adopt8"};
    const Value temurin17 = {L"Software\\Eclipse Adoptium\\JDK\\17.0.9.9\\hotspot\\MSI", L"Path", L"temurin17"};
    struct Case {
        const char* name;
        std::vector<Value> values;
        const wchar_t* minimum;
        const wchar_t* maximum;
        std::initializer_list<const wchar_t*> preferred;
        const wchar_t* home;
        const wchar_t* version;  // of the runtime chosen
    };
    const Case cases[] = {
        {"release file in a 1.8 window", {temurin8, temurin17}, L"1.8", L"1.8", {}, L"temurin8", L"1.8.0.382"},
        {"release file, preferred 1.8", {temurin17, temurin8}, L"any", L"any", {L"1.8"}, L"temurin8", L"1.8.0.382"},
        {"release file, exact update", {temurin8}, L"1.8.0_382", L"1.8.0_382", {}, L"temurin8", L"1.8.0.382"},
        {"key name only, 1.8 window", {adopt8}, L"1.8", L"1.8", {}, L"adopt8", L"1.8.0.292"},
        {"key name only, preferred 1.8", {temurin17, adopt8}, L"any", L"any", {L"1.8"}, L"adopt8", L"1.8.0.292"},
        {"Java 8 is below a minimum of 9", {temurin8, adopt8}, L"9", L"any", {}, L"", L""},
        {"Java 17 keeps its name", {temurin17, temurin8}, L"any", L"any", {L"17"}, L"temurin17", L"17.0.9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const Value& value : c.values)
            Set(value);
        SetRange(c.minimum, c.maximum);
        SetPreferred(c.preferred);
        std::wstring expected = c.home[0] ? Home(c.home) : L"";
        EXPECT_EQ(Search(), expected);
        if (c.home[0])
            EXPECT_EQ(FormatVersion(m_app.m_versionRequirement.working).CStr(), std::wstring(c.version));
        m_registry.Clear();
    }
}

// The 64-bit registry view is the second pass, whose runtimes go to the pair
// of the 32-bit launcher. The current user's keys are the same in both views,
// so there the JVM library's machine type decides the pass.
TEST_F(DistributorSearch, PassesFollowTheViewAndTheMachineType)
{
    Set({L"Software\\Eclipse Adoptium\\JDK\\17.0.9.9\\hotspot\\MSI", L"Path", L"temurin17", HKEY_LOCAL_MACHINE,
         KEY_WOW64_64KEY});
    EXPECT_EQ(Search(RegistryView::Force64), Home(L"temurin17"));
    EXPECT_EQ(Search(RegistryView::Default), kIs64BitLauncher ? Home(L"temurin17") : L"");
    m_registry.Clear();

    MakeHome(L"user64", {L"server"}, true, MinimalPeImage(IMAGE_FILE_MACHINE_AMD64));
    Set({L"Software\\Microsoft\\JDK\\21.0.1.12\\hotspot\\MSI", L"Path", L"user64", HKEY_CURRENT_USER});
    EXPECT_EQ(Search(RegistryView::Default), kIs64BitLauncher ? Home(L"user64") : L"");
    EXPECT_EQ(Search(RegistryView::Force64), Home(L"user64"));

    // A runtime of the machine's keys comes before one of the user's keys.
    MakeHome(L"own", {L"server"}, true, MinimalPeImage(kLauncherMachine));
    MakeHome(L"user", {L"server"}, true, MinimalPeImage(kLauncherMachine));
    m_registry.Clear();
    Set({L"Software\\Microsoft\\JDK\\17.0.9.9\\hotspot\\MSI", L"Path", L"own"});
    Set({L"Software\\Microsoft\\JDK\\17.0.9.9\\hotspot\\MSI", L"Path", L"user", HKEY_CURRENT_USER});
    EXPECT_EQ(Search(RegistryView::Default), Home(L"own"));
}

}  // namespace
}  // namespace runtime_test
