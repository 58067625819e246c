// ReadLaunchSettings over a settings file beside the test executable (the
// launcher code takes its module path, which here is the test's own).

#include "core/LauncherApp.h"
#include "res/resource.h"
#include "base/ResourceText.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

using namespace settings_test;

namespace {

class LaunchSettingsTest : public ::testing::Test {
protected:
    void TearDown() override { DeleteFileW(ExecutableSettingsPath().c_str()); }

    // Writes the settings file; main supplies a "Main Class" unless empty.
    void WriteSettings(const std::wstring& runtime, const std::wstring& application = L"",
                       const std::wstring& product = L"", bool withMain = true)
    {
        std::wstring text = L"[Product Information]\r\n" + product + L"[Java Runtime Environment]\r\n";
        if (withMain)
            text += L"Main Class=test.Main\r\n";
        text += runtime + L"[Application]\r\n" + application;
        WriteIni(ExecutableSettingsPath(), text);
    }

    bool Read() { return m_app.ReadLaunchSettings(); }

    TempFolder m_appData;
    ScopedVariable m_env{L"APPDATA", m_appData.Path().c_str()};
    MessageCapture m_messages;
    LauncherApp m_app;
};

std::wstring FormatV(const JavaVersion& v)
{
    return std::to_wstring(v.component[0]) + L"." + std::to_wstring(v.component[1]) + L"." +
           std::to_wstring(v.component[2]) + L"." + std::to_wstring(v.component[3]) + L"/" +
           std::to_wstring(v.count);
}

}  // namespace

TEST_F(LaunchSettingsTest, MissingFileIsNamed)
{
    EXPECT_FALSE(Read());
    ASSERT_EQ(1u, MessageCapture::Texts().size());
    std::wstring text = MessageCapture::Texts()[0];
    EXPECT_EQ(0u, text.find(L"File pengaturan tidak ditemukan: ")) << text;
    EXPECT_NE(std::wstring::npos, text.find(L"settings_tests.ini.\n")) << text;
}

TEST_F(LaunchSettingsTest, NoKeyAfterMainClassIsReadWithoutIt)
{
    WriteSettings(L"JVM Type=server\r\nSystem Path=C:\\sys\r\nLibrary Path=C:\\lib\r\n",
                  L"Failure Check=Yes\r\nOverride WorkingDir=Yes\r\nPair Product=C:\\p64.exe\r\n"
                  L"Pair Return Code=Yes\r\n",
                  L"Product Name=Prod\r\n", false);
    EXPECT_FALSE(Read());
    EXPECT_EQ(1u, MessageCapture::Texts().size());
    // Keys before "Main Class" were read ...
    EXPECT_EQ(JvmType::Server, m_app.m_jvmType);
    EXPECT_EQ(L"Prod", Str(m_app.m_productName));
    // ... those after it were not.
    EXPECT_FALSE(m_app.m_failureCheck);
    EXPECT_FALSE(m_app.m_overrideWorkingDir);
    EXPECT_FALSE(m_app.m_pairReturnCode);
    EXPECT_EQ(L"", Str(m_app.m_systemPath));
    EXPECT_EQ(L"", Str(m_app.m_libraryPath));
    EXPECT_EQ(L"", Str(m_app.m_pairProduct));
}

TEST_F(LaunchSettingsTest, DefaultsWithOnlyAMainClass)
{
    WriteSettings(L"");
    ASSERT_TRUE(Read());
    EXPECT_TRUE(MessageCapture::Texts().empty());
    EXPECT_EQ(L"test/Main", Str(m_app.m_mainClass));
    EXPECT_EQ(L"0.0.0.0/0", FormatV(m_app.m_versionRequirement.minimum));
    EXPECT_EQ(L"0.0.0.0/0", FormatV(m_app.m_versionRequirement.maximum));
    EXPECT_FALSE(m_app.m_isService);
    EXPECT_EQ(0, m_app.m_preferredVersions.Count());
    EXPECT_EQ(L"", Str(m_app.m_jrePath));
    EXPECT_EQ(JvmType::Any, m_app.m_jvmType);
    EXPECT_TRUE(m_app.m_jdkFirst);
    EXPECT_TRUE(m_app.m_jreFirst);
    EXPECT_TRUE(m_app.m_allowOtherKind);
    EXPECT_FALSE(m_app.m_allowJRockit);
    EXPECT_FALSE(m_app.m_preferJRockit);
    EXPECT_TRUE(m_app.m_allowSun);
    EXPECT_TRUE(m_app.m_preferSun);
    EXPECT_FALSE(m_app.m_allowIbm);
    EXPECT_FALSE(m_app.m_preferIbm);
    EXPECT_FALSE(m_app.m_failureCheck);
    EXPECT_FALSE(m_app.m_overrideWorkingDir);
    EXPECT_FALSE(m_app.m_pairReturnCode);
    EXPECT_EQ(L"", Str(m_app.m_pairProduct));
    EXPECT_EQ(L"", Str(m_app.m_productName));
    EXPECT_EQ(L"", Str(m_app.m_productCode));
}

TEST_F(LaunchSettingsTest, CatalogueConversions)
{
    WriteIni(ExecutableSettingsPath(), L"[Product Information]\r\nProduct Code=PC-1\r\nProduct Name=The Product\r\n"
                                       L"[Java Runtime Environment]\r\n"
                                       L"Main Class=com.example.Main\r\n"
                                       L"Minimum Version=1.6\r\n"
                                       L"Maximum Version=any\r\n"
                                       L"Preferred versions=1.8;;11;\r\n"
                                       L"JVM Type=favor_server\r\n"
                                       L"JVM Source=only_JDK\r\n"
                                       L"VM Provider=IBM\r\n"
                                       L"System Path=%SystemRoot%\\x;C:\\y\r\n"
                                       L"Library Path=lib\\native\r\n"
                                       L"[Application]\r\n"
                                       L"Application Type=service\r\n"
                                       L"Failure Check=YES\r\n"
                                       L"Override WorkingDir=yes\r\n"
                                       L"Pair Product=x64\\launcher64.exe\r\n"
                                       L"Pair Return Code=Yes\r\n");
    ASSERT_TRUE(Read());
    EXPECT_EQ(L"PC-1", Str(m_app.m_productCode));
    EXPECT_EQ(L"The Product", Str(m_app.m_productName));
    EXPECT_EQ(L"com/example/Main", Str(m_app.m_mainClass));
    EXPECT_EQ(L"1.6.0.0/2", FormatV(m_app.m_versionRequirement.minimum));
    EXPECT_EQ(L"65535.65535.65535.65535/4", FormatV(m_app.m_versionRequirement.maximum));
    ASSERT_EQ(3, m_app.m_preferredVersions.Count());
    EXPECT_EQ(L"1.8", Str(m_app.m_preferredVersions[0]));
    EXPECT_EQ(L"", Str(m_app.m_preferredVersions[1]));
    EXPECT_EQ(L"11", Str(m_app.m_preferredVersions[2]));
    EXPECT_EQ(JvmType::FavorServer, m_app.m_jvmType);
    EXPECT_TRUE(m_app.m_jdkFirst);
    EXPECT_FALSE(m_app.m_jreFirst);
    EXPECT_FALSE(m_app.m_allowOtherKind);
    EXPECT_FALSE(m_app.m_allowSun);
    EXPECT_FALSE(m_app.m_preferSun);
    EXPECT_TRUE(m_app.m_allowIbm);
    EXPECT_TRUE(m_app.m_preferIbm);
    EXPECT_FALSE(m_app.m_allowJRockit);
    EXPECT_TRUE(m_app.m_isService);
    EXPECT_TRUE(m_app.m_failureCheck);
    EXPECT_TRUE(m_app.m_overrideWorkingDir);
    EXPECT_TRUE(m_app.m_pairReturnCode);
    // Paths other than "JRE Path" stay as written.
    EXPECT_EQ(ExecutableFolder() + L"\\x64\\launcher64.exe", Str(m_app.m_pairProduct));
    EXPECT_EQ(L"%SystemRoot%\\x;C:\\y", Str(m_app.m_systemPath));
    EXPECT_EQ(L"lib\\native", Str(m_app.m_libraryPath));
}

TEST_F(LaunchSettingsTest, WordsInTheWrongCase)
{
    struct Row {
        const wchar_t* runtime;
        const wchar_t* application;
        bool service, failureCheck, overrideDir, pairReturnCode;
        JvmType jvmType;
        int minimumCount;
    } rows[] = {
        {L"JVM Type=Server\r\nMinimum Version=ANY\r\n", L"Application Type=Service\r\nFailure Check=yes\r\n",
         false, true, false, false, JvmType::Any, 0},
        {L"JVM Type=server\r\nMinimum Version=any\r\n",
         L"Application Type=SERVICE\r\nOverride WorkingDir=YeS\r\nPair Return Code=yes\r\n", false, false, true,
         true, JvmType::Server, 4},
        {L"JVM Type=favor_Server\r\n", L"Failure Check=True\r\nOverride WorkingDir=1\r\nPair Return Code=on\r\n",
         false, false, false, false, JvmType::Any, 0},
    };
    for (const Row& row : rows) {
        LauncherApp app;
        WriteSettings(row.runtime, row.application);
        ASSERT_TRUE(app.ReadLaunchSettings()) << row.runtime;
        EXPECT_EQ(row.service, app.m_isService) << row.application;
        EXPECT_EQ(row.failureCheck, app.m_failureCheck) << row.application;
        EXPECT_EQ(row.overrideDir, app.m_overrideWorkingDir) << row.application;
        EXPECT_EQ(row.pairReturnCode, app.m_pairReturnCode) << row.application;
        EXPECT_EQ(row.jvmType, app.m_jvmType) << row.runtime;
        EXPECT_EQ(row.minimumCount, app.m_versionRequirement.minimum.count) << row.runtime;
    }
}

TEST_F(LaunchSettingsTest, JrePathIsCompletedAgainstTheLauncherFolder)
{
    struct Row {
        const wchar_t* value;
        std::wstring expected;
    } rows[] = {
        {L"jre", ExecutableFolder() + L"\\jre"},
        {L"\\x", ExecutableFolder() + L"\\\\x"},
        {L"j", ExecutableFolder() + L"\\j"},
        {L"C:..", L"C:.."},
        {L"D:\\Java", L"D:\\Java"},
        {L"\\\\srv", L"\\\\srv"},
        {L"", L""},
    };
    for (const Row& row : rows) {
        LauncherApp app;
        WriteSettings(std::wstring(L"JRE Path=") + row.value + L"\r\n");
        ASSERT_TRUE(app.ReadLaunchSettings()) << row.value;
        EXPECT_EQ(row.expected, Str(app.m_jrePath)) << row.value;
    }
}

TEST_F(LaunchSettingsTest, PerUserFileDecidesJrePathWhenItExists)
{
    const std::wstring product = L"Product Name=A/B:C\r\nProduct Code=P1\r\n";
    const std::wstring perUserFolder = m_appData / L"ABC\\P1";
    const std::wstring perUserFile = perUserFolder + L"\\" + ExecutableBaseName() + L".ini";
    WriteSettings(L"JRE Path=D:\\FromSettings\r\n", L"", product);

    // No per-user file: the settings file's value.
    {
        LauncherApp app;
        ASSERT_TRUE(app.ReadLaunchSettings());
        EXPECT_EQ(L"D:\\FromSettings", Str(app.m_jrePath));
    }
    CreateDirectoryW((m_appData / L"ABC").c_str(), nullptr);
    CreateDirectoryW(perUserFolder.c_str(), nullptr);
    // The per-user file's value, completed like any other.
    WriteIni(perUserFile, L"[Java Runtime Environment]\r\nJRE Path=userjre\r\n");
    {
        LauncherApp app;
        ASSERT_TRUE(app.ReadLaunchSettings());
        EXPECT_EQ(ExecutableFolder() + L"\\userjre", Str(app.m_jrePath));
    }
    // A per-user file without the key leaves the path empty.
    WriteIni(perUserFile, L"[Java Runtime Environment]\r\nOther=1\r\n");
    {
        LauncherApp app;
        ASSERT_TRUE(app.ReadLaunchSettings());
        EXPECT_EQ(L"", Str(app.m_jrePath));
    }
    // A service ignores the per-user file.
    WriteSettings(L"JRE Path=D:\\FromSettings\r\n", L"Application Type=service\r\n", product);
    {
        LauncherApp app;
        ASSERT_TRUE(app.ReadLaunchSettings());
        EXPECT_EQ(L"D:\\FromSettings", Str(app.m_jrePath));
    }
    // Without APPDATA the per-user path is not absolute and never exists.
    WriteSettings(L"JRE Path=D:\\FromSettings\r\n", L"", product);
    {
        ScopedVariable noAppData(L"APPDATA", nullptr);
        LauncherApp app;
        ASSERT_TRUE(app.ReadLaunchSettings());
        EXPECT_EQ(L"D:\\FromSettings", Str(app.m_jrePath));
    }
}

TEST_F(LaunchSettingsTest, AppendSectionsReachTheCatalogue)
{
    WriteIni(ExecutableSettingsPath(), L"[Java Runtime Environment+]\r\nMain Class=pkg.FromPlus\r\n"
                                       L"System Path=C:\\extra\r\n"
                                       L"[Java Runtime Environment]\r\nSystem Path=C:\\base\r\n"
                                       L"[Application+]\r\nFailure Check=Yes\r\n");
    ASSERT_TRUE(Read());
    // Without an embedded value the "+" value arrives as written, so that
    // exact words still match.
    EXPECT_EQ(L"pkg/FromPlus", Str(m_app.m_mainClass));
    EXPECT_EQ(L"C:\\base", Str(m_app.m_systemPath));
    EXPECT_TRUE(m_app.m_failureCheck);
}
