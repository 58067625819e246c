// Modular applications through the real launcher on the stand-in runtime,
// whose modules are the jars of the module path and those its release file
// lists (as a runtime made by jlink has them).

#include "e2e/JvmE2eSupport.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::wstring>;

const wchar_t kAppModule[] = L"[Java Runtime Environment]\nMain Class=test.Missing\n"
                             L"Main Module=app/test.RecordArgs\nModule Path=mods;javafx\\lib\n";

// Runs with JLAUNCH_TRACE set, cancelling the runtime-not-found dialog; the
// trace lands in trace.
LaunchResult RunTraced(JvmApp& app, std::string& trace, LaunchOptions options = {})
{
    std::wstring file = app.Path() + L"\\trace.txt";
    DeleteFileW(file.c_str());
    options.env[L"JLAUNCH_TRACE"] = file;
    options.onWindow = [](const SeenWindow& window) { return window.isMessageBox ? IDOK : IDCANCEL; };
    LaunchResult result = app.Run(options);
    trace = ReadText(file);
    return result;
}

}  // namespace

TEST(ModuleE2e, MainModuleFromTheModulePath)
{
    JvmApp app(std::wstring(kAppModule) + L"Add Modules=javafx.controls\n", L"helper");
    app.folder.WriteFile(L"mods\\app.jar", "PK");
    app.folder.WriteFile(L"javafx\\lib\\javafx.controls.jar", "PK");
    std::string trace;
    LaunchOptions options;
    options.args = {L"one", L"two words"};
    LaunchResult result = RunTraced(app, trace, options);
    EXPECT_EQ(0u, result.exitCode);
    EXPECT_EQ(Texts{}, result.MessageTexts()) << Show(result.MessageTexts());
    FakeJvmLog log = app.Log();
    EXPECT_EQ((Texts{L"--module-path=" + app.Path() + L"\\mods;" + app.Path() + L"\\javafx\\lib",
                     L"--add-modules=javafx.controls", L"-Djdk.module.main=app"}),
              UserOptions(log))
        << Show(UserOptions(log));
    EXPECT_EQ((std::vector<Texts>{{L"checkAndLoadMain", L"app/test.RecordArgs", L"3"}}), log.All(L"checkAndLoadMain"));
    EXPECT_EQ((Texts{L"one", L"two words"}), log.Values(L"arg"));
    EXPECT_NE(std::string::npos, trace.find("\"Main Module\" app/test.RecordArgs wins over \"Main Class\" test.Missing"))
        << trace;
    EXPECT_NE(std::string::npos, trace.find("VM option 3: -Djdk.module.main=app")) << trace;
}

TEST(ModuleE2e, RuntimeWithTheModulesAndRuntimeBefore9)
{
    // A runtime made with the application's modules needs the main module
    // alone: no class path, no module path.
    JvmApp app(L"[Java Runtime Environment]\nMain Module=test.app/test.RecordArgs\n", L"helper");
    app.folder.WriteFile(L"jre\\release", "JAVA_VERSION=\"17.0.9\"\nMODULES=\"java.base test.app\"\n");
    std::string trace;
    EXPECT_EQ(0u, RunTraced(app, trace).exitCode);
    EXPECT_EQ((Texts{L"-Djdk.module.main=test.app"}), UserOptions(app.Log())) << Show(UserOptions(app.Log()));
    EXPECT_EQ((Texts{L"test/RecordArgs"}), app.Log().Values(L"main"));

    // One older than 9 is passed over, here for nothing at all ...
    app.folder.WriteFile(L"jre\\release", "JAVA_VERSION=\"1.8.0_392\"\nMODULES=\"java.base test.app\"\n");
    EXPECT_EQ(kLaunchFailed, RunTraced(app, trace).exitCode);
    EXPECT_FALSE(app.Log().Has(L"option"));
    EXPECT_NE(std::string::npos, trace.find("version 1.8.0.392, older than 9, which \"Main Module\" needs: refused"))
        << trace;
    // ... and then for the next runtime that has modules.
    AppFolder other;
    other.InstallRuntime(L"jdk", L"server", L"helper");
    other.WriteFile(L"jdk\\release", "JAVA_VERSION=\"11.0.2\"\nMODULES=\"java.base test.app\"\n");
    LaunchOptions options;
    options.env[L"JAVA_HOME"] = other.Path() + L"\\jdk";
    EXPECT_EQ(0u, RunTraced(app, trace, options).exitCode);
    EXPECT_EQ(other.Path() + L"\\jdk", app.Log().Env(L"OZ_JVM_HOME"));
}

TEST(ModuleE2e, FailuresOfAMainModule)
{
    struct Row {
        const wchar_t* variant;
        std::wstring ini;
        std::wstring message;
        const wchar_t* record;  // what the stand-in logged; null: no VM was made
    } rows[] = {
        {L"plain", kAppModule,
         L"Runtime Java ini tidak dapat menjalankan main module app/test.RecordArgs: sun.launcher.LauncherHelper "
         L"tidak tersedia (diperlukan Java 9 atau lebih baru).\n",
         nullptr},
        // A main or added module that the runtime cannot find ends the VM while it starts.
        {L"helper", L"[Java Runtime Environment]\nMain Module=nosuch\nModule Path=mods\n",
         L"Gagal memuat Main Class: nosuch.\n", L"bootlayer"},
        {L"helper", std::wstring(kAppModule) + L"Add Modules=javafx.web\n",
         L"Gagal memuat Main Class: app/test.RecordArgs.\n", L"bootlayer"},
        // A class the module does not have; a module that names no main class.
        {L"helper", L"[Java Runtime Environment]\nMain Module=app/test.Missing\nModule Path=mods\n",
         L"Tidak dapat menemukan main class app/test.Missing.\n", L"checkAndLoadMain"},
        {L"helper", L"[Java Runtime Environment]\nMain Module=app\nModule Path=mods\n",
         L"Tidak dapat menemukan main class app.\n", L"checkAndLoadMain"},
    };
    for (const Row& row : rows) {
        JvmApp app(row.ini, row.variant);
        app.folder.WriteFile(L"mods\\app.jar", "PK");
        LaunchResult result = app.Run();
        EXPECT_EQ(kLaunchFailed, result.exitCode) << Show(row.ini);
        EXPECT_EQ((Texts{row.message}), result.MessageTexts()) << Show(result.MessageTexts());
        FakeJvmLog log = app.Log();
        EXPECT_FALSE(log.Has(L"main")) << Show(row.ini);
        EXPECT_TRUE(row.record ? log.Has(row.record) : !log.Has(L"option")) << Show(row.ini);
    }
}
