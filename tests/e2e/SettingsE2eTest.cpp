// The launcher's settings files seen from outside: which INI file it reads,
// what happens without one, and how the per-user file decides "JRE Path".

#include "support/fakejvm/FakeJvmLog.h"
#include "support/harness/Harness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const DWORD kLaunchFailed = 0xFFFFFFFF;  // exit code -1
const wchar_t kNoMainClass[] = L"Main class tidak ditetapkan di file INI.";
const wchar_t kJvmLoadFailedHead[] = L"Gagal memuat perpustakaan VM Java: ";

// Cancels the runtime-not-found dialog (and any other dialog that is not a
// message box) so that a launch without a usable runtime ends.
int CancelDialogs(const SeenWindow& window)
{
    return window.isMessageBox ? IDOK : IDCANCEL;
}

// A runtime folder whose JVM library is not a DLL at all: choosing it makes
// the launcher name the library in its load-failure message.
std::wstring InstallJunkRuntime(AppFolder& app, const std::wstring& relative)
{
    app.WriteFile(relative + L"\\bin\\server\\jvm.dll", "this is not a DLL");
    return app.Path() + L"\\" + relative + L"\\bin\\server\\jvm.dll";
}

// True when text is the load-failure message for the given library:
// "Gagal memuat perpustakaan VM Java: <path> (errno = <n>).\n".
bool IsJvmLoadFailure(const std::wstring& text, const std::wstring& library)
{
    std::wstring head = kJvmLoadFailedHead + library + L" (errno = ";
    const std::wstring tail = L").\n";
    if (text.size() <= head.size() + tail.size() || text.compare(0, head.size(), head) != 0 ||
        text.compare(text.size() - tail.size(), tail.size(), tail) != 0)
        return false;
    std::wstring number = text.substr(head.size(), text.size() - head.size() - tail.size());
    return number.find_first_not_of(L"-0123456789") == std::wstring::npos;
}

std::string Show(const std::vector<std::wstring>& texts)
{
    std::string shown;
    for (const std::wstring& text : texts) {
        shown += "[";
        for (wchar_t c : text)
            shown += c < 128 ? static_cast<char>(c) : '?';
        shown += "] ";
    }
    return shown.empty() ? "no message" : shown;
}

LaunchOptions WithoutJavaHome()
{
    LaunchOptions options;
    options.env[L"JAVA_HOME"] = L"";
    options.onWindow = CancelDialogs;
    return options;
}

TEST(SettingsFileE2e, WithoutSettingsFileTheFileIsNamed)
{
    AppFolder app;
    app.CopyLauncher();
    LaunchResult result = RunLauncher(app);
    EXPECT_EQ(result.MessageTexts(),
              std::vector<std::wstring>{L"File pengaturan tidak ditemukan: " + app.Path() + L"\\launcher.ini.\n"});
    EXPECT_EQ(result.exitCode, kLaunchFailed);
}

TEST(SettingsFileE2e, SettingsWithoutMainClassReportIt)
{
    const wchar_t* inis[] = {
        // other keys, but no "Main Class"
        L"[Product Information]\nProduct Name=Demo\nProduct Code=1\n"
        L"[Java Runtime Environment]\nJVM Type=server\nMinimum Version=1.8\n",
        // present but empty
        L"[Java Runtime Environment]\nMain Class=\n",
        // only blanks, which the INI reader strips
        L"[Java Runtime Environment]\nMain Class=    \n",
        // in the wrong section
        L"[Application]\nMain Class=test.RecordArgs\n[Class Path]\nMain Class=test.RecordArgs\n",
        // a misspelt key
        L"[Java Runtime Environment]\nMainClass=test.RecordArgs\n",
    };
    for (const wchar_t* ini : inis) {
        SCOPED_TRACE(Show({ini}));
        AppFolder app;
        app.CopyLauncher();
        app.WriteIni(ini);
        LaunchResult result = RunLauncher(app, WithoutJavaHome());
        EXPECT_EQ(result.MessageTexts(), std::vector<std::wstring>{kNoMainClass});
        EXPECT_EQ(result.windows.size(), 1u) << "only the message box is expected";
        EXPECT_EQ(result.exitCode, kLaunchFailed);
    }
}

TEST(SettingsFileE2e, SettingsFileIsNamedAfterTheLauncher)
{
    // A main class in the INI of another name does not count; the launcher's own one does.
    AppFolder app;
    app.CopyLauncher(L"Demo App.exe");
    std::wstring library = InstallJunkRuntime(app, L"rt");
    app.WriteFile(L"launcher.ini", "[Java Runtime Environment]\r\nMain Class=test.RecordArgs\r\n");
    LaunchResult withoutOwnIni = RunLauncher(app, WithoutJavaHome());
    EXPECT_EQ(withoutOwnIni.MessageTexts(),
              std::vector<std::wstring>{L"File pengaturan tidak ditemukan: " + app.Path() + L"\\Demo App.ini.\n"});

    app.WriteIni(L"[Java Runtime Environment]\nJRE Path=" + app.Path() + L"\\rt\nMain Class=test.RecordArgs\n");
    LaunchResult withOwnIni = RunLauncher(app, WithoutJavaHome());
    ASSERT_EQ(withOwnIni.MessageTexts().size(), 1u) << Show(withOwnIni.MessageTexts());
    EXPECT_TRUE(IsJvmLoadFailure(withOwnIni.MessageTexts()[0], library)) << Show(withOwnIni.MessageTexts());
    EXPECT_EQ(withOwnIni.exitCode, kLaunchFailed);
}

TEST(SettingsFileE2e, LauncherPathWithoutAnyDotEndsSilently)
{
    AppFolder app;
    if (app.Path().find(L'.') != std::wstring::npos)
        GTEST_SKIP() << "the temporary folder has a '.' in its path";
    app.CopyLauncher(L"run");
    LaunchResult result = RunLauncher(app, WithoutJavaHome());
    EXPECT_TRUE(result.windows.empty()) << Show(result.MessageTexts());
    EXPECT_EQ(result.exitCode, kLaunchFailed);
}

TEST(SettingsFileE2e, LauncherWithoutExtensionUsesTheLastDotOfItsFolder)
{
    AppFolder app;
    if (app.Path().find(L'.') != std::wstring::npos)
        GTEST_SKIP() << "the temporary folder has a '.' in its path";
    app.CopyLauncher(L"My.Tool\\run");
    // A file named after the launcher itself is not its settings file.
    app.WriteFile(L"My.Tool\\run.ini", "[Java Runtime Environment]\r\nMain Class=test.RecordArgs\r\n");

    app.WriteIni(L"[Java Runtime Environment]\nJVM Type=server\n");
    ASSERT_EQ(app.Launcher(), app.Path() + L"\\My.Tool\\run");
    LaunchResult withoutMainClass = RunLauncher(app, WithoutJavaHome());
    EXPECT_EQ(withoutMainClass.MessageTexts(), std::vector<std::wstring>{kNoMainClass});
    EXPECT_EQ(withoutMainClass.exitCode, kLaunchFailed);

    // My.ini beside the folder is the one read: its main class and runtime are used.
    std::wstring library = InstallJunkRuntime(app, L"rt");
    app.WriteIni(L"[Java Runtime Environment]\nJRE Path=" + app.Path() + L"\\rt\nMain Class=test.RecordArgs\n");
    LaunchResult withMainClass = RunLauncher(app, WithoutJavaHome());
    std::vector<std::wstring> texts = withMainClass.MessageTexts();
    ASSERT_EQ(texts.size(), 1u) << Show(texts);
    EXPECT_TRUE(IsJvmLoadFailure(texts[0], library)) << Show(texts);
    EXPECT_EQ(withMainClass.exitCode, kLaunchFailed);
}

// "JRE Path" comes from the per-user file under APPDATA when that file exists.
class PerUserSettingsE2e : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_app.CopyLauncher();
        m_libraryA = InstallJunkRuntime(m_app, L"runtimeA");
        m_libraryB = InstallJunkRuntime(m_app, L"runtimeB");
        m_app.MakeDir(L"appdata");
        // ":" and "/" cannot be part of a folder name and are dropped from the product folder.
        m_app.WriteIni(L"[Product Information]\n"
                       L"Product Name=Demo: App/One\n"
                       L"Product Code=2.5\n"
                       L"[Java Runtime Environment]\n"
                       L"JRE Path=" + m_app.Path() + L"\\runtimeA\n"
                       L"Main Class=test.RecordArgs\n"
                       L"[Class Path]\n"
                       L"Class Path=app.jar\n");
        m_app.WriteFile(L"app.jar", "PK");
        m_options = WithoutJavaHome();
        m_options.env[L"APPDATA"] = m_app.Path() + L"\\appdata";
    }

    void WritePerUserFile(const std::string& text)
    {
        m_app.WriteFile(L"appdata\\Demo AppOne\\2.5\\launcher.ini", text);
    }

    AppFolder m_app;
    std::wstring m_libraryA;
    std::wstring m_libraryB;
    LaunchOptions m_options;
};

TEST_F(PerUserSettingsE2e, WithoutPerUserFileTheSettingsFileDecides)
{
    LaunchResult result = RunLauncher(m_app, m_options);
    std::vector<std::wstring> texts = result.MessageTexts();
    ASSERT_EQ(texts.size(), 1u) << Show(texts);
    EXPECT_TRUE(IsJvmLoadFailure(texts[0], m_libraryA)) << Show(texts);
    EXPECT_EQ(result.exitCode, kLaunchFailed);
}

TEST_F(PerUserSettingsE2e, PerUserFileOverridesTheSettingsFile)
{
    struct Case {
        std::string perUser;
        std::wstring library;
    } cases[] = {
        {"[Java Runtime Environment]\r\nJRE Path=" + std::string(m_app.Path().begin(), m_app.Path().end()) +
             "\\runtimeB\r\n",
         m_libraryB},
        // relative to the launcher's folder, not to the per-user file's
        {"[Java Runtime Environment]\r\nJRE Path=runtimeB\r\n", m_libraryB},
        // the key name is not case-sensitive
        {"[java runtime environment]\r\njre path=runtimeB\r\n", m_libraryB},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.perUser);
        WritePerUserFile(c.perUser);
        LaunchResult result = RunLauncher(m_app, m_options);
        std::vector<std::wstring> texts = result.MessageTexts();
        ASSERT_EQ(texts.size(), 1u) << Show(texts);
        EXPECT_TRUE(IsJvmLoadFailure(texts[0], c.library)) << Show(texts);
        EXPECT_EQ(result.exitCode, kLaunchFailed);
    }
}

TEST_F(PerUserSettingsE2e, EmptyProductNameLeavesAnEmptyFolderStep)
{
    // APPDATA\<empty>\<code>\launcher.ini: the doubled backslash reaches APPDATA\<code>.
    m_app.WriteIni(L"[Product Information]\nProduct Code=9\n"
                   L"[Java Runtime Environment]\nJRE Path=runtimeA\nMain Class=test.RecordArgs\n");
    m_app.WriteFile(L"appdata\\9\\launcher.ini", "[Java Runtime Environment]\r\nJRE Path=runtimeB\r\n");
    LaunchResult result = RunLauncher(m_app, m_options);
    std::vector<std::wstring> texts = result.MessageTexts();
    ASSERT_EQ(texts.size(), 1u) << Show(texts);
    EXPECT_TRUE(IsJvmLoadFailure(texts[0], m_libraryB)) << Show(texts);
}

TEST_F(PerUserSettingsE2e, PerUserFileOfAnotherProductIsIgnored)
{
    m_app.WriteFile(L"appdata\\Demo AppOne\\2.6\\launcher.ini",
                    "[Java Runtime Environment]\r\nJRE Path=runtimeB\r\n");
    m_app.WriteFile(L"appdata\\Demo AppOne\\2.5\\other.ini", "[Java Runtime Environment]\r\nJRE Path=runtimeB\r\n");
    LaunchResult result = RunLauncher(m_app, m_options);
    std::vector<std::wstring> texts = result.MessageTexts();
    ASSERT_EQ(texts.size(), 1u) << Show(texts);
    EXPECT_TRUE(IsJvmLoadFailure(texts[0], m_libraryA)) << Show(texts);
}

TEST_F(PerUserSettingsE2e, PerUserFileWithoutJrePathLetsTheSearchGoOn)
{
    // The settings file's runtime A is not used: the search goes on to JAVA_HOME.
    WritePerUserFile("[Java Runtime Environment]\r\nMain Class=test.Other\r\n");
    std::wstring libraryC = InstallJunkRuntime(m_app, L"runtimeC");
    m_app.WriteFile(L"runtimeC\\bin\\java.dll", "");
    m_options.env[L"JAVA_HOME"] = m_app.Path() + L"\\runtimeC";
    LaunchResult result = RunLauncher(m_app, m_options);
    std::vector<std::wstring> texts = result.MessageTexts();
    ASSERT_EQ(texts.size(), 1u) << Show(texts);
    EXPECT_TRUE(IsJvmLoadFailure(texts[0], libraryC)) << Show(texts);
    EXPECT_EQ(result.exitCode, kLaunchFailed);
}

TEST_F(PerUserSettingsE2e, PerUserFileWithoutJrePathAndNoRuntimeEndsTheLaunch)
{
    WritePerUserFile("[Java Runtime Environment]\r\nMain Class=test.Other\r\n");
    LaunchResult result = RunLauncher(m_app, m_options);
    // No runtime is configured any more and none is installed: runtime A of the
    // INI is not loaded, the user is asked for a runtime and, cancelling, ends
    // the launch with -1 without any message.
    ASSERT_EQ(result.windows.size(), 1u) << Show(result.MessageTexts());
    EXPECT_EQ(result.windows[0].title, L"JRE Tidak Ditemukan");
    EXPECT_TRUE(result.MessageTexts().empty()) << Show(result.MessageTexts());
    EXPECT_EQ(result.exitCode, kLaunchFailed);
}

// The launcher with working stand-in runtimes A and B and an empty app.jar.
void InstallTwoRuntimes(AppFolder& app)
{
    app.CopyLauncher();
    app.InstallRuntime(L"runtimeA");
    app.InstallRuntime(L"runtimeB");
    app.WriteFile(L"app.jar", "PK");
}

// The same choice made with working stand-in runtimes: the program runs on
// the runtime that the per-user file names.
TEST(PerUserRuntimeE2e, ProgramRunsOnTheRuntimeThePerUserFileNames)
{
    AppFolder app;
    InstallTwoRuntimes(app);
    app.WriteIni(L"[Product Information]\nProduct Name=Demo\nProduct Code=7\n"
                 L"[Java Runtime Environment]\nJRE Path=runtimeA\nMain Class=test.RecordArgs\n"
                 L"[Class Path]\nClass Path=app.jar\n");
    app.WriteFile(L"appdata\\Demo\\7\\launcher.ini", "[Java Runtime Environment]\r\nJRE Path=runtimeB\r\n");
    LaunchOptions options = WithoutJavaHome();
    options.env[L"APPDATA"] = app.Path() + L"\\appdata";
    options.args = {L"hello"};

    LaunchResult result = RunLauncher(app, options);
    EXPECT_TRUE(result.MessageTexts().empty()) << Show(result.MessageTexts());
    EXPECT_EQ(result.exitCode, 0u);
    FakeJvmLog log = FakeJvmLog::Read(app.LogPath());
    EXPECT_EQ(log.Env(L"OZ_JVM_PATH"), app.Path() + L"\\runtimeB\\bin\\server\\jvm.dll");
    EXPECT_EQ(log.Env(L"OZ_JVM_HOME"), app.Path() + L"\\runtimeB");
    std::vector<std::wstring> args = log.Values(L"arg");
    EXPECT_EQ(args, std::vector<std::wstring>{L"hello"});
}

// A settings file saved as UTF-8 without a byte-order mark: the product
// folder and the VM parameters arrive with their accents.
TEST(Utf8SettingsE2e, AccentsReachTheFoldersAndTheVm)
{
    AppFolder app;
    InstallTwoRuntimes(app);
    app.WriteFile(L"launcher.ini", Narrow(L"[Product Information]\r\nProduct Name=Caf\x00e9\r\nProduct Code=7\r\n"
                                          L"[Java Runtime Environment]\r\nJRE Path=runtimeA\r\n"
                                          L"Main Class=test.RecordArgs\r\n"
                                          L"Virtual Machine Parameters=-Dname=Caf\x00e9 \"-Dtitle=Cr\x00e8me br\x00fbl\x00e9\x65\"\r\n"
                                          L"[Class Path]\r\nClass Path=app.jar\r\n"));
    app.WriteFile(L"appdata\\Caf\x00e9\\7\\launcher.ini", "[Java Runtime Environment]\r\nJRE Path=runtimeB\r\n");
    LaunchOptions options = WithoutJavaHome();
    options.env[L"APPDATA"] = app.Path() + L"\\appdata";

    LaunchResult result = RunLauncher(app, options);
    EXPECT_TRUE(result.MessageTexts().empty()) << Show(result.MessageTexts());
    EXPECT_EQ(result.exitCode, 0u);
    FakeJvmLog log = FakeJvmLog::Read(app.LogPath());
    EXPECT_EQ(log.Env(L"OZ_JVM_HOME"), app.Path() + L"\\runtimeB");
    std::vector<std::wstring> vmOptions = log.Values(L"option");
    EXPECT_NE(std::find(vmOptions.begin(), vmOptions.end(), L"-Dname=Caf\x00e9"), vmOptions.end()) << Show(vmOptions);
    EXPECT_NE(std::find(vmOptions.begin(), vmOptions.end(), L"-Dtitle=Cr\x00e8me br\x00fbl\x00e9\x65"), vmOptions.end())
        << Show(vmOptions);
}

}  // namespace
