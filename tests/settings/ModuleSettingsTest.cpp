// "Main Module", "Module Path" and "Add Modules": what the settings make of
// them and the options they give, read beside the test executable as the
// launcher reads its own settings.

#include "core/LauncherApp.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

using namespace settings_test;

namespace {

using Texts = std::vector<std::wstring>;

Texts Options(const LauncherApp& app)
{
    Texts options;
    for (const AnsiString& option : app.m_jvmOptions)
        options.push_back(std::wstring(option.CStr(), option.CStr() + option.Length()));
    return options;
}

}  // namespace

TEST(ModuleSettings, OptionsFromTheThreeKeys)
{
    // Relative items are found from the launcher's folder, here the test's.
    TempFolder app(L"jlmod_", ExecutableFolder());
    std::wstring name = app.Path().substr(app.Path().rfind(L'\\') + 1);
    MakeDirs(app / L"mods");
    WriteBytes(app / L"lib\\app.jar", "PK");
    ScopedVariable fx(L"JL_TEST_FX", L"D:\\javafx-sdk");
    MessageCapture messages;

    struct Row {
        std::wstring ini;
        Texts options;
        std::wstring mainModule;
        std::wstring mainClass;
    } rows[] = {
        // A main module needs no class path; relative, absolute and missing items.
        {L"[Java Runtime Environment]\r\nMain Module=app\r\nModule Path=" + name + L"\\mods;C:\\fx\\lib;" + name +
             L"\\missing\r\n",
         {L"--module-path=" + app.Path() + L"\\mods;C:\\fx\\lib", L"-Djdk.module.main=app"}, L"app", L""},
        // It wins over "Main Class"; the class may be written with "/"; the
        // options sit between the class path and the VM parameters.
        {L"[Java Runtime Environment]\r\nMain Class=pkg.Ignored\r\nMain Module=app/com/example/Main\r\n"
         L"Add Modules= javafx.controls, ,javafx.fxml \r\nVirtual Machine Parameters=-Dx=1\r\n"
         L"[Class Path]\r\nClass Path=" + name + L"\\lib\\*.jar\r\n",
         {L"-Djava.class.path=" + app.Path() + L"\\lib\\app.jar", L"--add-modules=javafx.controls,javafx.fxml",
          L"-Djdk.module.main=app", L"-Dx=1"},
         L"app/com.example.Main", L"com/example/Main"},
        // A class-path application with modules beside it (JavaFX on the
        // module path); environment references; "+" values.
        {L"[Java Runtime Environment]\r\nMain Class=com.example.Main\r\nModule Path=%JL_TEST_FX%\\lib;;\r\n"
         L"[Java Runtime Environment+]\r\nAdd Modules=ALL-MODULE-PATH\r\n"
         L"[Class Path]\r\nClass Path=C:\\app.jar\r\n",
         {L"-Djava.class.path=C:\\app.jar", L"--module-path=D:\\javafx-sdk\\lib", L"--add-modules=ALL-MODULE-PATH"},
         L"", L"com/example/Main"},
        // Without a main module an empty class path still ends the options.
        {L"[Java Runtime Environment]\r\nMain Class=M\r\nModule Path=C:\\fx\r\n", {}, L"", L"M"},
    };
    for (const Row& row : rows) {
        WriteIni(ExecutableSettingsPath(), row.ini);
        LauncherApp launcher;
        ASSERT_TRUE(launcher.ReadLaunchSettings()) << testing::PrintToString(row.ini);
        launcher.AssembleVmOptions();
        EXPECT_EQ(row.options, Options(launcher)) << testing::PrintToString(row.ini);
        EXPECT_EQ(row.mainModule, Str(launcher.m_mainModule));
        EXPECT_EQ(row.mainClass, Str(launcher.m_mainClass));
    }
    DeleteFileW(ExecutableSettingsPath().c_str());
    // Only the last row shows a message: the empty class path.
    EXPECT_EQ((Texts{L"Java Class Path tidak ditetapkan di file INI."}), MessageCapture::Texts());
}
