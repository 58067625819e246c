// Modular applications through the real launcher on the stand-in runtime:
// a main module from the module path or from inside the runtime, and the
// ways such a launch fails.

#include "e2e/JvmE2eSupport.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::wstring>;

// The launch with its trace, which the tests read too.
struct TracedLaunch {
    LaunchResult result;
    std::string trace;
};

TracedLaunch RunTraced(JvmApp& app, LaunchOptions options = {})
{
    std::wstring trace = app.Path() + L"\\trace.txt";
    DeleteFileW(trace.c_str());
    options.env[L"JLAUNCH_TRACE"] = trace;
    // The runtime-not-found dialog is cancelled; message boxes are confirmed.
    options.onWindow = [](const SeenWindow& window) { return window.isMessageBox ? IDOK : IDCANCEL; };
    TracedLaunch launch;
    launch.result = app.Run(options);
    launch.trace = ReadText(trace);
    return launch;
}

bool Has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

const wchar_t kAppModule[] = L"[Java Runtime Environment]\nMain Class=test.Missing\nMain Module=app\n"
                             L"Module Path=mods;javafx\\lib\nAdd Modules=javafx.controls\n";

}  // namespace

TEST(ModuleE2e, MainModuleFromTheModulePath)
{
    JvmApp app(kAppModule, L"helper");
    // The stand-in names a module after its jar; the jar's text is the
    // module's main class.
    app.folder.WriteFile(L"mods\\app.jar", "test.RecordArgs\n");
    app.folder.WriteFile(L"javafx\\lib\\javafx.controls.jar", "");
    LaunchOptions options;
    options.args = {L"one", L"two words"};
    TracedLaunch launch = RunTraced(app, options);
    EXPECT_EQ(0u, launch.result.exitCode);
    EXPECT_EQ(Texts{}, launch.result.MessageTexts()) << Show(launch.result.MessageTexts());
    FakeJvmLog log = app.Log();
    EXPECT_EQ((Texts{L"--module-path=" + app.Path() + L"\\mods;" + app.Path() + L"\\javafx\\lib",
                     L"--add-modules=javafx.controls", L"-Djdk.module.main=app"}),
              UserOptions(log))
        << Show(UserOptions(log));
    ASSERT_EQ(1u, log.All(L"checkAndLoadMain").size());
    EXPECT_EQ((Texts{L"checkAndLoadMain", L"app", L"3"}), log.All(L"checkAndLoadMain")[0]);
    EXPECT_EQ((Texts{L"test/RecordArgs"}), log.Values(L"main"));
    EXPECT_EQ((Texts{L"one", L"two words"}), log.Values(L"arg"));
    EXPECT_TRUE(Has(launch.trace, "\"Main Module\" app wins over \"Main Class\" test.Missing")) << launch.trace;
    EXPECT_TRUE(Has(launch.trace, "main module app")) << launch.trace;
    EXPECT_TRUE(Has(launch.trace, "VM option 3: -Djdk.module.main=app")) << launch.trace;
}

TEST(ModuleE2e, RuntimeMadeWithTheApplicationsModules)
{
    // A runtime linked with the application's modules needs the main module
    // alone: no class path, no module path.
    JvmApp app(L"[Java Runtime Environment]\nMain Module=test.app/test.RecordArgs\n", L"helper");
    app.folder.WriteFile(L"jre\\release", "JAVA_VERSION=\"17.0.9\"\nMODULES=\"java.base test.app\"\n");
    LaunchResult result = app.Run();
    EXPECT_EQ(0u, result.exitCode);
    EXPECT_EQ(Texts{}, result.MessageTexts()) << Show(result.MessageTexts());
    FakeJvmLog log = app.Log();
    EXPECT_EQ((Texts{L"-Djdk.module.main=test.app"}), UserOptions(log)) << Show(UserOptions(log));
    EXPECT_EQ((Texts{L"test.app/test.RecordArgs"}), log.Values(L"checkAndLoadMain"));
    EXPECT_EQ((Texts{L"test/RecordArgs"}), log.Values(L"main"));
}

TEST(ModuleE2e, RuntimeBefore9IsRefusedForAMainModule)
{
    JvmApp app(L"[Java Runtime Environment]\nMain Module=test.app/test.RecordArgs\n", L"helper");
    app.folder.WriteFile(L"jre\\release", "JAVA_VERSION=\"1.8.0_392\"\nMODULES=\"java.base test.app\"\n");
    TracedLaunch refused = RunTraced(app);
    EXPECT_EQ(kLaunchFailed, refused.result.exitCode);
    EXPECT_FALSE(app.Log().Has(L"option"));
    EXPECT_TRUE(Has(refused.trace, "version 1.8.0.392, older than 9, which \"Main Module\" needs: refused"))
        << refused.trace;

    // The search goes on and takes the next runtime that has modules.
    AppFolder other;
    other.InstallRuntime(L"jdk", L"server", L"helper");
    other.WriteFile(L"jdk\\release", "JAVA_VERSION=\"11.0.2\"\nMODULES=\"java.base test.app\"\n");
    LaunchOptions options;
    options.env[L"JAVA_HOME"] = other.Path() + L"\\jdk";
    TracedLaunch taken = RunTraced(app, options);
    EXPECT_EQ(0u, taken.result.exitCode);
    EXPECT_EQ(other.Path() + L"\\jdk", app.Log().Env(L"OZ_JVM_HOME"));

    // A class-path application still takes the bundled runtime.
    app.folder.WriteIni(L"[Java Runtime Environment]\nMain Class=test.RecordArgs\n[Class Path]\nClass Path=C:\\a.jar\n");
    EXPECT_EQ(0u, app.Run().exitCode);
    EXPECT_EQ(app.Path() + L"\\jre", app.Log().Env(L"OZ_JVM_HOME"));
}

TEST(ModuleE2e, FailuresOfAMainModule)
{
    struct Row {
        const wchar_t* variant;
        std::wstring ini;
        std::wstring message;
        const wchar_t* record;  // what the stand-in logged, if anything
    } rows[] = {
        // A runtime without the launcher helper: no VM is made.
        {L"plain", kAppModule,
         L"Runtime Java ini tidak dapat menjalankan main module app: sun.launcher.LauncherHelper tidak tersedia "
         L"(diperlukan Java 9 atau lebih baru).\n",
         nullptr},
        // A main module, or an added one, that the runtime cannot find ends
        // the VM while it starts.
        {L"helper", L"[Java Runtime Environment]\nMain Module=nosuch\nModule Path=mods\n",
         L"Gagal memuat Main Class: nosuch.\n", L"bootlayer"},
        {L"helper", L"[Java Runtime Environment]\nMain Module=app\nModule Path=mods\nAdd Modules=javafx.web\n",
         L"Gagal memuat Main Class: app.\n", L"bootlayer"},
        // A class the module does not have, or a module without a main class.
        {L"helper", L"[Java Runtime Environment]\nMain Module=app/test.Missing\nModule Path=mods\n",
         L"Tidak dapat menemukan main class app/test.Missing.\n", L"checkAndLoadMain"},
        {L"helper", L"[Java Runtime Environment]\nMain Module=javafx.controls\nModule Path=javafx\\lib\n",
         L"Tidak dapat menemukan main class javafx.controls.\n", L"checkAndLoadMain"},
    };
    for (const Row& row : rows) {
        JvmApp app(row.ini, row.variant);
        app.folder.WriteFile(L"mods\\app.jar", "test.RecordArgs\n");
        app.folder.WriteFile(L"javafx\\lib\\javafx.controls.jar", "");
        LaunchResult result = app.Run();
        EXPECT_EQ(kLaunchFailed, result.exitCode) << Show(row.ini);
        EXPECT_EQ((Texts{row.message}), result.MessageTexts()) << Show(result.MessageTexts());
        FakeJvmLog log = app.Log();
        EXPECT_FALSE(log.Has(L"main")) << Show(row.ini);
        if (row.record)
            EXPECT_TRUE(log.Has(row.record)) << Show(row.ini);
        else
            EXPECT_FALSE(log.Has(L"option")) << Show(row.ini);
    }
}
