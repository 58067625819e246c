// Settings file locations for the running executable and APPDATA.

#include "core/LauncherApp.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsPaths.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

using namespace settings_test;

namespace {

std::wstring ReadJrePath(const std::wstring& path)
{
    SettingsFile file(String(path.c_str()));
    return Str(file.GetValue(String(L"Java Runtime Environment"), String(L"JRE Path")));
}

class SettingsPathsTest : public ::testing::Test {
protected:
    void TearDown() override { DeleteFileW(ExecutableSettingsPath().c_str()); }

    TempFolder m_appData;
    ScopedVariable m_env{L"APPDATA", m_appData.Path().c_str()};
    LauncherApp m_app;
};

}  // namespace

TEST_F(SettingsPathsTest, SettingsFileSitsBesideTheExecutable)
{
    String path;
    ASSERT_TRUE(GetSettingsFilePath(path));
    EXPECT_EQ(ExecutableSettingsPath(), Str(path));
}

TEST_F(SettingsPathsTest, PerUserPathUsesAppDataProductAndBaseName)
{
    m_app.m_productName = L"A/B:C";
    m_app.m_productCode = L"P1";
    std::wstring expected = m_appData.Path() + L"\\ABC\\P1\\" + ExecutableBaseName() + L".ini";

    EXPECT_EQ(expected, Str(GetPerUserSettingsFilePath(m_app, false)));
    EXPECT_FALSE(Exists(m_appData / L"ABC"));

    EXPECT_EQ(expected, Str(GetPerUserSettingsFilePath(m_app, true)));
    EXPECT_TRUE(Exists(m_appData / L"ABC\\P1"));
    EXPECT_FALSE(Exists(expected));
    // Existing folders are no obstacle.
    EXPECT_EQ(expected, Str(GetPerUserSettingsFilePath(m_app, true)));
}

TEST_F(SettingsPathsTest, PerUserPathWithoutAppDataOrProductName)
{
    m_app.m_productName = L"Tool";
    m_app.m_productCode = L"P1";
    {
        ScopedVariable noAppData(L"APPDATA", nullptr);
        EXPECT_EQ(L"\\Tool\\P1\\" + ExecutableBaseName() + L".ini", Str(GetPerUserSettingsFilePath(m_app, false)));
    }
    m_app.m_productName = L"";
    EXPECT_EQ(m_appData.Path() + L"\\\\P1\\" + ExecutableBaseName() + L".ini",
              Str(GetPerUserSettingsFilePath(m_app, false)));
}

TEST_F(SettingsPathsTest, LongAppDataIsUsedWhole)
{
    std::wstring longAppData = m_appData.Path() + L"\\" + std::wstring(300, L'd');
    ScopedVariable env(L"APPDATA", longAppData.c_str());
    m_app.m_productName = L"N";
    m_app.m_productCode = L"C";
    EXPECT_EQ(longAppData + L"\\N\\C\\" + ExecutableBaseName() + L".ini",
              Str(GetPerUserSettingsFilePath(m_app, false)));
}

TEST_F(SettingsPathsTest, PairPaths)
{
    String path;
    EXPECT_FALSE(GetPairSettingsFilePath(m_app, path));
    EXPECT_EQ(L"", Str(GetPairPerUserSettingsFilePath(m_app)));

    m_app.m_productName = L"Prod";
    m_app.m_productCode = L"Code";
    m_app.m_pairProduct = L"C:\\Apps\\x64\\launcher64.exe";
    ASSERT_TRUE(GetPairSettingsFilePath(m_app, path));
    EXPECT_EQ(L"C:\\Apps\\x64\\launcher64.ini", Str(path));
    EXPECT_EQ(m_appData.Path() + L"\\Prod\\Code\\launcher64.ini", Str(GetPairPerUserSettingsFilePath(m_app)));
    // The pair's folders are always created.
    EXPECT_TRUE(Exists(m_appData / L"Prod\\Code"));

    m_app.m_pairProduct = L"x64\\pair";
    EXPECT_FALSE(GetPairSettingsFilePath(m_app, path));
    EXPECT_EQ(m_appData.Path() + L"\\Prod\\Code\\pair.ini", Str(GetPairPerUserSettingsFilePath(m_app)));
}

TEST_F(SettingsPathsTest, ChosenRuntimeGoesToThePerUserFiles)
{
    m_app.m_productName = L"My:Prod";
    m_app.m_productCode = L"7";
    m_app.m_pairProduct = L"D:\\x64\\launcher64.exe";
    StoreChosenRuntimeFolder(m_app, String(L"E:\\Picked JRE"));

    EXPECT_EQ(L"E:\\Picked JRE", ReadJrePath(m_appData / (L"MyProd\\7\\" + ExecutableBaseName() + L".ini")));
    EXPECT_EQ(L"E:\\Picked JRE", ReadJrePath(m_appData / L"MyProd\\7\\launcher64.ini"));
    EXPECT_FALSE(Exists(ExecutableSettingsPath()));
}

TEST_F(SettingsPathsTest, ChosenRuntimeOfAServiceGoesToTheSettingsFiles)
{
    TempFolder pairFolder;
    m_app.m_isService = true;
    m_app.m_productName = L"Svc";
    m_app.m_productCode = L"1";
    m_app.m_pairProduct = String((pairFolder / L"launcher64.exe").c_str());
    StoreChosenRuntimeFolder(m_app, String(L"C:\\jre"));

    EXPECT_EQ(L"C:\\jre", ReadJrePath(ExecutableSettingsPath()));
    EXPECT_EQ(L"C:\\jre", ReadJrePath(pairFolder / L"launcher64.ini"));
    EXPECT_FALSE(Exists(m_appData / L"Svc"));

    // A pair path without "." gives no pair file; the own file is still written.
    DeleteFileW(ExecutableSettingsPath().c_str());
    m_app.m_pairProduct = String((pairFolder / L"pair").c_str());
    StoreChosenRuntimeFolder(m_app, String(L"C:\\jre2"));
    EXPECT_EQ(L"C:\\jre2", ReadJrePath(ExecutableSettingsPath()));
}
