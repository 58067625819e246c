// The hand-over to the paired launcher of the other architecture: a runtime
// this launcher cannot load goes to the pair with the unchanged command line.

#include "e2e/LaunchModesE2eSupport.h"

#include <gtest/gtest.h>

#include <future>

namespace {

// The other build's launcher under its own name.
const std::wstring kPairName = sizeof(void*) == 4 ? L"launcher64.exe" : L"launcher.exe";

// launcher.exe with a runtime of the other architecture in "rt", which it
// cannot load, and a pair launcher in "pair" whose settings run test.Exit on
// the runtime in "pair-rt": this build's launcher with this build's runtime,
// or the other build's launcher with the other build's runtime.
class PairHandOverE2e : public testing::Test {
protected:
    void SetUp() override
    {
        m_peer = PeerBuildDir();
        if (m_peer.empty())
            GTEST_SKIP() << "the other architecture's build is needed";
        m_app.CopyLauncher();
        m_app.InstallRuntime(L"rt", L"server", L"plain", true);
        m_app.MakeDir(L"elsewhere");
    }
    void InstallPair(bool otherBuild)
    {
        std::wstring build = otherBuild ? m_peer : BuildDir();
        std::wstring name = sizeof(void*) == 4 ? L"launcher" : L"launcher64";
        if (otherBuild)
            name = sizeof(void*) == 4 ? L"launcher64" : L"launcher";
        m_app.CopyFile(build + L"\\bin\\" + name + L".exe", L"pair\\" + kPairName);
        m_app.InstallRuntime(L"pair-rt", L"server", L"plain", otherBuild);
        std::wstring pairIni = L"pair\\" + kPairName.substr(0, kPairName.size() - 3) + L"ini";
        m_app.WriteFile(pairIni, "[Java Runtime Environment]\r\nMain Class=test.Exit\r\nJRE Path=..\\pair-rt\r\n"
                                 "[Class Path]\r\nClass Path=C:\\app.jar\r\n");
    }
    void WriteIni(const std::wstring& application)
    {
        m_app.WriteIni(L"[Java Runtime Environment]\nMain Class=test.Exit\nJRE Path=rt\n"
                       L"[Class Path]\nClass Path=C:\\app.jar\n[Application]\n" +
                       application);
    }
    LaunchResult Launch(const std::wstring& commandTail = L"")
    {
        DeleteFileW(m_app.LogPath().c_str());
        LaunchOptions options;
        options.rawCommandTail = commandTail;
        options.workingDir = m_app.Path() + L"\\elsewhere";
        options.env[L"JAVA_HOME"] = L"";
        return RunLauncher(m_app, options);
    }
    FakeJvmLog Log() const { return FakeJvmLog::Read(m_app.LogPath()); }
    void ExpectPairRan(const LaunchResult& result, DWORD exitCode)
    {
        EXPECT_EQ(exitCode, result.exitCode) << Show(result.MessageTexts());
        EXPECT_TRUE(result.MessageTexts().empty()) << Show(result.MessageTexts());
        FakeJvmLog log = Log();
        EXPECT_EQ((Texts{L"7", L"a b", L"c", L"d\"e"}), log.Values(L"arg"));
        EXPECT_EQ(Texts{L"0"}, log.Values(L"create")) << "only the pair makes a VM";
    }

    std::wstring m_peer;
    AppFolder m_app;
};

// A relative "Pair Product" lies beside the launcher, also when it is started
// from another folder. The pair gets the command line as it was.
TEST_F(PairHandOverE2e, PairRunsWithTheSameCommandLine)
{
    InstallPair(false);
    struct Row {
        const wchar_t* returnCode;
        DWORD exitCode;
    } rows[] = {{L"Yes", 7}, {L"no", 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(Narrow(row.returnCode));
        WriteIni(L"Pair Product=pair\\" + kPairName + L"\nPair Return Code=" + row.returnCode + L"\n");
        ExpectPairRan(Launch(L"7 \"a b\"c d\"e"), row.exitCode);
    }
}

// The real thing: the other build's launcher runs the runtime this one cannot.
TEST_F(PairHandOverE2e, OtherArchitecturesLauncher)
{
    if (!PeerBuildRuns())
        GTEST_SKIP() << "programs of the other architecture cannot run here";
    InstallPair(true);
    WriteIni(L"Pair Product=pair\\" + kPairName + L"\nPair Return Code=Yes\n");
    ExpectPairRan(Launch(L"7 \"a b\"c d\"e"), 7);
}

// A single-instance application whose first start hands over: the pair takes
// the first instance's role (its own settings need not ask for it), so later
// starts reach secondaryMain in the process that runs the VM and get its
// answer.
TEST_F(PairHandOverE2e, SingleInstanceGoesWithTheHandOver)
{
    InstallPair(false);
    m_app.WriteFile(L"pair\\" + kPairName.substr(0, kPairName.size() - 3) + L"ini",
                    "[Java Runtime Environment]\r\nMain Class=test.Serve\r\nJRE Path=..\\pair-rt\r\n"
                    "[Class Path]\r\nClass Path=C:\\app.jar\r\n");
    m_app.WriteIni(L"[Java Runtime Environment]\nMain Class=test.Serve\nJRE Path=rt\n[Class Path]\nClass Path=C:\\app.jar\n"
                   L"[Application]\nSingle Instance=yes\nPair Return Code=Yes\nPair Product=pair\\" + kPairName + L"\n");
    DeleteFileW(m_app.LogPath().c_str());
    LaunchOptions options;
    options.args = {L"first"};
    options.env[L"JL_FAKEJVM_LINGER_MS"] = L"120000";
    options.timeoutMs = 240000;
    std::future<LaunchResult> first = std::async(std::launch::async, [&] { return RunLauncher(m_app, options); });
    ASSERT_TRUE(WaitForLog(m_app, [](const FakeJvmLog& log) { return log.Has(L"mainend"); }, &first));

    LaunchOptions later;
    later.args = {L"5", L"", L"x"};
    EXPECT_EQ(5u, RunLauncher(m_app, later).exitCode);
    later.args = {L"quit"};
    EXPECT_EQ(0u, RunLauncher(m_app, later).exitCode);
    EXPECT_EQ(0u, first.get().exitCode);
    FakeJvmLog log = Log();
    EXPECT_EQ(Texts{L"0"}, log.Values(L"create")) << "only the pair makes a VM";
    EXPECT_EQ((std::vector<Texts>{{L"5", L"", L"x"}, {L"quit"}}), SecondaryCalls(log));
}

// A pair that cannot be started, that is the launcher itself, or that would
// hand over once more ends the launch with a message instead of a silent -1
// or a chain of launchers without end.
TEST_F(PairHandOverE2e, PairThatCannotRun)
{
    // The pair's copy of this build's launcher, whose runtime is also
    // foreign to it and whose own pair is the first launcher.
    m_app.CopyFile(BuildDir() + (sizeof(void*) == 4 ? L"\\bin\\launcher.exe" : L"\\bin\\launcher64.exe"),
                   L"pair\\other.exe");
    m_app.WriteFile(L"pair\\other.ini", "[Java Runtime Environment]\r\nMain Class=test.Exit\r\nJRE Path=..\\rt\r\n"
                                        "[Application]\r\nPair Product=..\\launcher.exe\r\nPair Return Code=Yes\r\n");
    std::wstring loop = L"Penyerahan ke launcher pasangan ditolak karena akan berulang tanpa akhir: ";
    struct Row {
        std::wstring pair;
        std::wstring message;
    } rows[] = {
        {L"pair\\missing.exe", L"Pengecualian Windows: " + m_app.Path() + L"\\pair\\missing.exe (errno = 2).\n"},
        {L"launcher.exe", loop + m_app.Path() + L"\\launcher.exe.\n"},
        {L"pair\\other.exe", loop + m_app.Path() + L"\\pair\\..\\launcher.exe.\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Narrow(row.pair));
        WriteIni(L"Pair Product=" + row.pair + L"\nPair Return Code=Yes\n");
        LaunchResult result = Launch(L"1");
        EXPECT_EQ(kLaunchFailed, result.exitCode);
        EXPECT_EQ(Texts{row.message}, result.MessageTexts());
        EXPECT_FALSE(Log().Has(L"create"));
    }
}

}  // namespace
