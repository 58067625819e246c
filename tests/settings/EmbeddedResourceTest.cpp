// Embedded settings carried by this test executable (embedded.rc).

#include "core/LauncherApp.h"
#include "settings/EmbeddedSettings.h"
#include "settings/MergedSettings.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

using namespace settings_test;

namespace {

const wchar_t kEmbeddedText[] = L"\xFEFF[Java Runtime Environment]\r\n"
                                L"Main Class = embedded.Main\r\n"
                                L"JVM Type=server\r\n"
                                L"Virtual Machine Parameters=-Xms64m\r\n"
                                L"[Application]\r\n"
                                L"Failure Check=Yes\r\n"
                                L"Name=caf\x00e9";

class EmbeddedResourceTest : public ::testing::Test {
protected:
    void TearDown() override { DeleteFileW(ExecutableSettingsPath().c_str()); }

    TempFolder m_appData;
    ScopedVariable m_env{L"APPDATA", m_appData.Path().c_str()};
    MessageCapture m_messages;
};

}  // namespace

TEST_F(EmbeddedResourceTest, TextEndsInsideTheResource)
{
    EXPECT_EQ(std::wstring(kEmbeddedText), Str(LoadEmbeddedSettingsText()));
}

TEST_F(EmbeddedResourceTest, EmbeddedValuesServeWithoutAFile)
{
    LauncherApp app;
    ASSERT_TRUE(app.ReadLaunchSettings());
    EXPECT_TRUE(MessageCapture::Texts().empty());
    EXPECT_EQ(L"embedded/Main", Str(app.m_mainClass));
    EXPECT_EQ(JvmType::Server, app.m_jvmType);
    EXPECT_TRUE(app.m_failureCheck);
}

TEST_F(EmbeddedResourceTest, FileOverridesAndAppends)
{
    WriteIni(ExecutableSettingsPath(), L"[Java Runtime Environment]\r\n"
                                       L"Main Class=file.Main\r\n"
                                       L"[Java Runtime Environment+]\r\n"
                                       L"Virtual Machine Parameters=-Xmx1g\r\n"
                                       L"JVM Type=client\r\n"
                                       L"[Application]\r\n"
                                       L"Failure Check=no\r\n");
    LauncherApp app;
    ASSERT_TRUE(app.ReadLaunchSettings());
    EXPECT_EQ(L"file/Main", Str(app.m_mainClass));
    // "server client" is no JVM type word.
    EXPECT_EQ(JvmType::Any, app.m_jvmType);
    EXPECT_FALSE(app.m_failureCheck);

    MergedSettings merged(String(ExecutableSettingsPath().c_str()), LoadEmbeddedSettingsText());
    EXPECT_EQ(L"-Xms64m -Xmx1g", Str(merged.GetValue(String(L"Java Runtime Environment"),
                                                     String(L"Virtual Machine Parameters"))));
    EXPECT_EQ(L"caf\x00e9", Str(merged.GetValue(String(L"Application"), String(L"Name"))));
}
