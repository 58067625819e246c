// Which runtime the launcher takes, seen from outside. Runtimes whose
// jvm.dll is not a DLL make the choice visible: the launcher names the
// library it could not load in its load-failure message.

#include "runtime/RuntimeTestSupport.h"
#include "runtime/VendorRegistry.h"
#include "support/fakejvm/FakeJvmLog.h"
#include "support/harness/Harness.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const DWORD kLaunchFailed = 0xFFFFFFFF;  // exit code -1
// The machine type of the paired launcher, whose JVM libraries this launcher hands over.
const WORD kOtherMachine = runtime_test::kIs64BitLauncher ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64;
const wchar_t kJvmLoadFailedHead[] = L"Gagal memuat perpustakaan VM Java: ";

std::string Show(const std::vector<std::wstring>& texts)
{
    std::string shown;
    for (const std::wstring& text : texts) {
        shown += "[";
        for (wchar_t c : text)
            shown += c >= 32 && c < 127 ? static_cast<char>(c) : '?';
        shown += "] ";
    }
    return shown.empty() ? "(no message)" : shown;
}

// The library named by "Gagal memuat perpustakaan VM Java: <path> (errno = N).\n",
// or "" when text is not that message.
std::wstring FailedLibrary(const std::wstring& text)
{
    const std::wstring head = kJvmLoadFailedHead;
    const std::wstring middle = L" (errno = ";
    const std::wstring tail = L").\n";
    if (text.compare(0, head.size(), head) != 0 || text.size() < tail.size() ||
        text.compare(text.size() - tail.size(), tail.size(), tail) != 0)
        return L"";
    size_t at = text.rfind(middle);
    if (at == std::wstring::npos || at < head.size())
        return L"";
    std::wstring number = text.substr(at + middle.size(), text.size() - tail.size() - at - middle.size());
    if (number.empty() || number.find_first_not_of(L"-0123456789") != std::wstring::npos)
        return L"";
    return text.substr(head.size(), at - head.size());
}

// The one library the launch failed to load, "" when there was no such message.
std::wstring ChosenLibrary(const LaunchResult& result)
{
    std::vector<std::wstring> texts = result.MessageTexts();
    if (texts.empty())
        return L"";
    if (texts.size() > 1) {
        std::string shown = Show(texts);
        return L"<several messages: " + std::wstring(shown.begin(), shown.end()) + L">";
    }
    std::wstring library = FailedLibrary(texts[0]);
    return library.empty() ? L"<other message>" : library;
}

int CancelDialogs(const SeenWindow& window)
{
    return window.isMessageBox ? IDOK : IDCANCEL;
}

class RuntimeE2e : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(runtime_test::SnapshotVendorKeys().empty()) << "the test prefix already holds Java registrations";
        m_app.CopyLauncher();
    }

    // A runtime home with a junk jvm.dll; returns that library's path.
    std::wstring JunkRuntime(const std::wstring& home, const std::wstring& vm = L"server")
    {
        runtime_test::MakeRuntime(home, {vm}, true, "this is not a DLL");
        return home + L"\\bin\\" + vm + L"\\jvm.dll";
    }

    // Registers home under HKLM, by default in the registry view the launcher reads.
    void Register(const std::wstring& vendorKey, const std::wstring& version, const std::wstring& home,
                  REGSAM view = runtime_test::kLauncherView)
    {
        m_keys.push_back(std::make_unique<ScopedRegKey>(HKEY_LOCAL_MACHINE, vendorKey + L"\\" + version, view));
        m_keys.back()->SetString(L"JavaHome", home);
    }

    // One text value of a registration the way a distributor's installer writes it.
    void RegisterValue(const std::wstring& key, const std::wstring& name, const std::wstring& value,
                       REGSAM view = runtime_test::kLauncherView)
    {
        m_keys.push_back(std::make_unique<ScopedRegKey>(HKEY_LOCAL_MACHINE, key, view));
        m_keys.back()->SetString(name, value);
    }

    // Runs the launcher, making sure it leaves the vendor keys as they were.
    LaunchResult Launch(const std::wstring& javaHome = L"")
    {
        LaunchOptions options;
        options.env[L"JAVA_HOME"] = javaHome;  // empty: removed
        options.onWindow = CancelDialogs;
        auto before = runtime_test::SnapshotVendorKeys();
        LaunchResult result = RunLauncher(m_app, options);
        EXPECT_EQ(before, runtime_test::SnapshotVendorKeys()) << "the launch changed the registry";
        EXPECT_FALSE(result.timedOut);
        return result;
    }

    std::wstring In(const std::wstring& relative) const { return m_app.Path() + L"\\" + relative; }

    AppFolder m_app;
    TempFolder m_elsewhere;  // runtimes that are not in the app folder
    std::vector<std::unique_ptr<ScopedRegKey>> m_keys;
};

TEST_F(RuntimeE2e, EachSourceInTurnAndNothingAtAll)
{
    std::wstring setting = JunkRuntime(m_elsewhere / L"setting");
    std::wstring bundled = JunkRuntime(In(L"jre"));
    std::wstring registered = JunkRuntime(m_elsewhere / L"registered");
    std::wstring javaHome = JunkRuntime(m_elsewhere / L"javahome");
    Register(runtime_test::kJreKey, L"1.8.0_201", m_elsewhere / L"registered");
    const std::wstring mainClass = L"[Java Runtime Environment]\nMain Class=test.RecordArgs\n";

    m_app.WriteIni(mainClass + L"JRE Path=" + (m_elsewhere / L"setting") + L"\n");
    LaunchResult result = Launch(m_elsewhere / L"javahome");
    EXPECT_EQ(ChosenLibrary(result), setting);
    EXPECT_EQ(result.exitCode, kLaunchFailed);

    m_app.WriteIni(mainClass);
    EXPECT_EQ(ChosenLibrary(Launch(m_elsewhere / L"javahome")), bundled);

    RemoveTree(In(L"jre"));
    EXPECT_EQ(ChosenLibrary(Launch(m_elsewhere / L"javahome")), registered);

    m_keys.clear();
    EXPECT_EQ(ChosenLibrary(Launch(m_elsewhere / L"javahome")), javaHome);

    result = Launch();
    EXPECT_EQ(result.MessageTexts(), std::vector<std::wstring>()) << Show(result.MessageTexts());
    EXPECT_EQ(result.exitCode, kLaunchFailed);
}

TEST_F(RuntimeE2e, RuntimeInTheLaunchersOwnFolder)
{
    std::wstring bundled = JunkRuntime(m_app.Path(), L"client");
    m_app.WriteIni(L"[Java Runtime Environment]\nMain Class=test.RecordArgs\n");
    EXPECT_EQ(ChosenLibrary(Launch()), bundled);
}

TEST_F(RuntimeE2e, RegistryRuntimeWithoutMaximumVersionRuns)
{
    // The newest registration is junk; the preferred one is a working runtime.
    JunkRuntime(m_elsewhere / L"jre11");
    m_app.InstallRuntime(L"rt\\jdk8\\jre");
    Register(runtime_test::kJreKey, L"11.0.2", m_elsewhere / L"jre11");
    Register(runtime_test::kDevelopmentKitKey, L"1.8.0_201", In(L"rt\\jdk8"));
    // No "Maximum Version": registered runtimes are not limited from above.
    m_app.WriteIni(L"[Java Runtime Environment]\nMain Class=test.RecordArgs\nMinimum Version=1.6\n"
                   L"Preferred versions=1.7;1.8\n[Class Path]\nClass Path=C:\\app.jar\n");
    LaunchResult result = Launch();
    EXPECT_EQ(result.MessageTexts(), std::vector<std::wstring>()) << Show(result.MessageTexts());
    EXPECT_EQ(result.exitCode, 0u);
    FakeJvmLog log = FakeJvmLog::Read(m_app.LogPath());
    EXPECT_EQ(log.Values(L"main"), std::vector<std::wstring>{L"test/RecordArgs"});

    m_app.WriteIni(L"[Java Runtime Environment]\nMain Class=test.RecordArgs\nMinimum Version=1.6\n");
    EXPECT_EQ(ChosenLibrary(Launch()), (m_elsewhere / L"jre11") + L"\\bin\\server\\jvm.dll");
}

// Today's OpenJDK installers register their runtimes under their own keys
// only. Those are found when the classic keys name no runtime, never before.
TEST_F(RuntimeE2e, RuntimesOfTodaysInstallers)
{
    const std::wstring mainClass = L"[Java Runtime Environment]\nMain Class=test.RecordArgs\n";
    std::wstring temurin = JunkRuntime(m_elsewhere / L"temurin");
    std::wstring microsoft = JunkRuntime(m_elsewhere / L"microsoft");
    std::wstring zulu = JunkRuntime(m_elsewhere / L"zulu");
    WriteBytes(m_elsewhere / L"zulu\\release", "JAVA_VERSION=\"21.0.1\"\r\n");
    m_app.WriteIni(mainClass);

    RegisterValue(L"Software\\Eclipse Adoptium\\JDK\\17.0.9.9\\hotspot\\MSI", L"Path", m_elsewhere / L"temurin");
    EXPECT_EQ(ChosenLibrary(Launch()), temurin);
    m_keys.clear();

    RegisterValue(L"Software\\Microsoft\\JDK\\11.0.21.9\\hotspot\\MSI", L"Path", m_elsewhere / L"microsoft");
    EXPECT_EQ(ChosenLibrary(Launch()), microsoft);
    // The newer Zulu, whose version only its release file tells.
    RegisterValue(L"Software\\Azul Systems\\Zulu\\zulu-21", L"InstallationPath", m_elsewhere / L"zulu");
    EXPECT_EQ(ChosenLibrary(Launch()), zulu);

    // A classic registration wins, though older.
    std::wstring classic = JunkRuntime(m_elsewhere / L"classic");
    Register(runtime_test::kJreKey, L"1.8.0_201", m_elsewhere / L"classic");
    EXPECT_EQ(ChosenLibrary(Launch()), classic);
    m_keys.pop_back();

    // "Other Vendors=no": only the classic keys count.
    m_app.WriteIni(mainClass + L"Other Vendors=no\n");
    LaunchResult result = Launch();
    EXPECT_EQ(result.MessageTexts(), std::vector<std::wstring>()) << Show(result.MessageTexts());
    EXPECT_EQ(result.exitCode, kLaunchFailed);
}

// JAVA_HOME is the last source before the user is asked. A runtime there
// whose release file names a version outside the window is not taken.
TEST_F(RuntimeE2e, JavaHomeOutsideTheVersionWindow)
{
    std::wstring javaHome = JunkRuntime(m_elsewhere / L"javahome");
    WriteBytes(m_elsewhere / L"javahome\\release", "JAVA_VERSION=\"1.6.0_45\"\n");
    m_app.WriteIni(L"[Java Runtime Environment]\nMain Class=test.RecordArgs\nMinimum Version=1.8\n"
                   L"Maximum Version=any\n");
    LaunchResult result = Launch(m_elsewhere / L"javahome");
    EXPECT_EQ(result.MessageTexts(), std::vector<std::wstring>()) << Show(result.MessageTexts());
    EXPECT_EQ(result.exitCode, kLaunchFailed);

    WriteBytes(m_elsewhere / L"javahome\\release", "JAVA_VERSION=\"1.8.0_392\"\n");
    EXPECT_EQ(ChosenLibrary(Launch(m_elsewhere / L"javahome")), javaHome);
}

// A second copy of this build's launcher standing in for the paired launcher
// of the other machine type. Its own settings point at a junk runtime of its
// own, so its load-failure message shows that it ran.
class PairedRuntimeE2e : public RuntimeE2e {
protected:
    void SetUp() override
    {
        RuntimeE2e::SetUp();
        m_app.CopyLauncher(L"pair\\pair.exe");
        m_pairLibrary = JunkRuntime(In(L"pair\\rt"));
        // The pair's own settings: a relative "JRE Path" beside pair.exe.
        m_app.WriteFile(L"pair\\pair.ini",
                        "[Java Runtime Environment]\r\nMain Class=test.RecordArgs\r\nJRE Path=rt\r\n");
        m_app.CopyLauncher(L"launcher.exe");
    }
    std::wstring Settings(const std::wstring& extra) const
    {
        return L"[Java Runtime Environment]\nMain Class=test.RecordArgs\n" + extra +
               L"[Application]\nPair Product=" + In(L"pair\\pair.exe") + L"\nPair Return Code=Yes\n";
    }
    std::wstring m_pairLibrary;
};

// The 32-bit launcher's second registry pass, over the 64-bit view, finds a
// runtime registered only there and hands the launch to the pair. The 64-bit
// launcher's second pass reads its own view again: it never sees a runtime
// registered only in the 32-bit view, and has nothing to hand over.
TEST_F(PairedRuntimeE2e, RuntimeOnlyInTheOtherRegistryView)
{
    JunkRuntime(m_elsewhere / L"other");
    Register(runtime_test::kJreKey, L"11", m_elsewhere / L"other", runtime_test::kOtherView);

    m_app.WriteIni(Settings(L""));
    LaunchResult result = Launch();
    if (runtime_test::kIs64BitLauncher)
        EXPECT_EQ(result.MessageTexts(), std::vector<std::wstring>()) << Show(result.MessageTexts());
    else
        EXPECT_EQ(ChosenLibrary(result), m_pairLibrary);
    EXPECT_EQ(result.exitCode, kLaunchFailed);

    // Without a paired launcher the other view is not read.
    m_app.WriteIni(L"[Java Runtime Environment]\nMain Class=test.RecordArgs\n");
    result = Launch();
    EXPECT_EQ(result.MessageTexts(), std::vector<std::wstring>()) << Show(result.MessageTexts());
    EXPECT_EQ(result.exitCode, kLaunchFailed);
}

TEST_F(PairedRuntimeE2e, RuntimeOfTheLaunchersOwnViewStaysWithIt)
{
    std::wstring own = JunkRuntime(m_elsewhere / L"own");
    JunkRuntime(m_elsewhere / L"other");
    Register(runtime_test::kJreKey, L"1.8", m_elsewhere / L"own");
    Register(runtime_test::kJreKey, L"11", m_elsewhere / L"other", runtime_test::kOtherView);

    m_app.WriteIni(Settings(L""));
    EXPECT_EQ(ChosenLibrary(Launch()), own);
}

TEST_F(PairedRuntimeE2e, JrePathOfAnotherMachineGoesToThePair)
{
    runtime_test::MakeRuntime(m_elsewhere / L"other", {L"server"}, true, runtime_test::MinimalPeImage(kOtherMachine));
    std::wstring junk = JunkRuntime(m_elsewhere / L"junk");

    m_app.WriteIni(Settings(L"JRE Path=" + (m_elsewhere / L"other") + L"\n"));
    EXPECT_EQ(ChosenLibrary(Launch()), m_pairLibrary);

    // A library that is no image at all stays with this launcher.
    m_app.WriteIni(Settings(L"JRE Path=" + (m_elsewhere / L"junk") + L"\n"));
    EXPECT_EQ(ChosenLibrary(Launch()), junk);

    // So does any library of another machine when no pair is configured.
    m_app.WriteIni(L"[Java Runtime Environment]\nMain Class=test.RecordArgs\nJRE Path=" + (m_elsewhere / L"other") +
                   L"\n");
    EXPECT_EQ(ChosenLibrary(Launch()), (m_elsewhere / L"other") + L"\\bin\\server\\jvm.dll");
}

}  // namespace

namespace {

// A runtime of the other machine type shipped beside the launcher, with the
// paired launcher configured: the launch goes to the pair.
TEST_F(PairedRuntimeE2e, BundledRuntimeOfTheOtherMachineGoesToThePair)
{
    runtime_test::MakeRuntime(In(L"jre"), {L"server"}, true, runtime_test::MinimalPeImage(kOtherMachine));
    m_app.WriteIni(Settings(L""));
    EXPECT_EQ(ChosenLibrary(Launch()), m_pairLibrary);
}

// A 64-bit Temurin install, registered only in the 64-bit view as its
// installer does it, runs the application. The 32-bit launcher hands the
// launch to the real 64-bit launcher of the peer build, which finds the same
// runtime in its own view; the 64-bit launcher finds it there at once.
TEST_F(RuntimeE2e, Temurin64BitInstallRunsTheApplication)
{
    const std::wstring settings = L"[Java Runtime Environment]\nMain Class=test.RecordArgs\n"
                                  L"[Class Path]\nClass Path=C:\\app.jar\n";
    if (runtime_test::kIs64BitLauncher) {
        m_app.WriteIni(settings);
    } else {
        ASSERT_FALSE(PeerBuildDir().empty()) << "no 64-bit build for the paired launcher (JL_PEER_BUILD)";
        m_app.CopyLauncher(L"launcher64.exe", PeerBuildDir() + L"\\bin\\launcher64.exe");
        m_app.WriteIni(settings);
        m_app.CopyLauncher(L"launcher.exe");
        m_app.WriteIni(settings + L"[Application]\nPair Product=" + In(L"launcher64.exe") +
                       L"\nPair Return Code=Yes\n");
    }
    m_app.InstallRuntime(L"temurin", L"server", L"plain", !runtime_test::kIs64BitLauncher);
    RegisterValue(L"Software\\Eclipse Adoptium\\JDK\\17.0.9.9\\hotspot\\MSI", L"Path", In(L"temurin"),
                  KEY_WOW64_64KEY);

    LaunchResult result = Launch();
    EXPECT_EQ(result.MessageTexts(), std::vector<std::wstring>()) << Show(result.MessageTexts());
    EXPECT_EQ(result.exitCode, 0u);
    FakeJvmLog log = FakeJvmLog::Read(m_app.LogPath());
    EXPECT_EQ(log.Values(L"main"), std::vector<std::wstring>{L"test/RecordArgs"});
    EXPECT_EQ(log.Env(L"OZ_JVM_PATH"), In(L"temurin\\bin\\server\\jvm.dll"));
}

}  // namespace
