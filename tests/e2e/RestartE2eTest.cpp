// The restart exit code seen from outside: how many times main runs, with
// which arguments and in which folder, the exit codes of the old and the new
// process, single instance across the restart, and the crash-loop guard.

#include "e2e/LaunchModesE2eSupport.h"

#include <gtest/gtest.h>

namespace {

// The arguments each start of main received, in order.
std::vector<Texts> MainCalls(const FakeJvmLog& log)
{
    std::vector<Texts> calls;
    bool inMain = false;
    for (const auto& record : log.records) {
        if (record[0] == L"main") {
            calls.emplace_back();
            inMain = true;
        } else if (record[0] == L"mainend") {
            inMain = false;
        } else if (record[0] == L"arg" && inMain) {
            calls.back().push_back(record.size() > 1 ? record[1] : std::wstring());
        }
    }
    return calls;
}

// How many trace lines end with the event.
int CountEvents(const std::string& trace, const std::string& event)
{
    int count = 0;
    for (size_t at = trace.find("] " + event + "\n"); at != std::string::npos;
         at = trace.find("] " + event + "\n", at + 1))
        ++count;
    return count;
}

// Waits (a minute at most) until the trace holds the event count times.
std::string WaitForTrace(const std::wstring& path, const std::string& event, int count)
{
    ULONGLONG deadline = GetTickCount64() + 60000;
    std::string trace = ReadText(path);
    while (CountEvents(trace, event) < count && GetTickCount64() < deadline) {
        Sleep(50);
        trace = ReadText(path);
    }
    return trace;
}

}  // namespace

TEST(RestartE2e, RestartedApplicationKeepsItsRole)
{
    JvmApp app(SingleInstanceIni(L"test.RestartOnce", L"Restart Code=7\n"));
    app.folder.MakeDir(L"work");
    const std::wstring marker = app.Path() + L"\\restarted";
    const std::wstring trace = app.Path() + L"\\trace.txt";
    LaunchOptions options;
    options.args = {L"7", marker};
    options.workingDir = app.Path() + L"\\work";
    options.env[L"JLAUNCH_TRACE"] = trace;
    // The old launcher ends at once; the harness waits for the new one as well.
    std::future<LaunchResult> first = StartFirstInstance(app, options);
    ASSERT_TRUE(WaitForLog(app, [](const FakeJvmLog& log) { return log.Values(L"mainend").size() == 2; }, &first))
        << "main did not run a second time";

    // Later starts reach the restarted application.
    LaunchOptions later;
    later.args = {L"5"};
    EXPECT_EQ(5u, RunLauncher(app.folder, later).exitCode);
    later.args = {L"quit"};
    EXPECT_EQ(0u, RunLauncher(app.folder, later).exitCode);

    EXPECT_EQ(7u, first.get().exitCode);
    // The old launcher ended through System.exit, the new one with main's outcome.
    std::string lines = WaitForTrace(trace, "exit code 0", 1);
    EXPECT_EQ(1, CountEvents(lines, "the Java program ends the process with exit code 7")) << lines;
    EXPECT_EQ(1, CountEvents(lines, "exit code 0")) << lines;
    EXPECT_NE(std::string::npos, lines.find("is the \"Restart Code\": started again as process")) << lines;
    EXPECT_NE(std::string::npos, lines.find("; it has ended after")) << "the new launcher waits for the old one";

    FakeJvmLog log = app.Log();
    EXPECT_EQ((std::vector<Texts>{{L"7", marker}, {L"7", marker}}), MainCalls(log));
    EXPECT_EQ((Texts{options.workingDir, options.workingDir}), log.Values(L"cwd"));
    EXPECT_EQ((std::vector<Texts>{{L"5"}, {L"quit"}}), SecondaryCalls(log));
    // The launch's own variables are set afresh, not stacked up.
    Texts paths;
    for (const auto& record : log.All(L"env"))
        if (record.size() > 2 && record[1] == L"Path")
            paths.push_back(record[2]);
    ASSERT_EQ(2u, paths.size());
    EXPECT_EQ(paths[0], paths[1]);
}

TEST(RestartE2e, CrashLoopEndsAfterFiveRestarts)
{
    JvmApp app(L"[Java Runtime Environment]\nMain Class=test.Exit\n[Class Path]\nClass Path=C:\\app.jar\n"
               L"[Application]\nRestart Code=7\n");
    const std::wstring trace = app.Path() + L"\\trace.txt";
    LaunchOptions options;
    options.args = {L"7"};
    options.env[L"JLAUNCH_TRACE"] = trace;
    options.timeoutMs = 120000;
    // The harness waits for every launcher of the chain.
    EXPECT_EQ(7u, app.Run(options).exitCode);
    EXPECT_EQ(6u, app.Log().Values(L"mainend").size()) << "the first start and five restarts";
    std::string lines = ReadText(trace);
    EXPECT_EQ(6, CountEvents(lines, "the Java program ends the process with exit code 7")) << lines;
    EXPECT_EQ(1, CountEvents(lines, "exit code 7 is the \"Restart Code\", but the application has restarted 5 "
                                    "times within a minute: not started again"))
        << lines;

    // Main's outcome counts too: an uncaught exception ends the launch with 1.
    JvmApp throws(L"[Java Runtime Environment]\nMain Class=test.Throws\n[Class Path]\nClass Path=C:\\app.jar\n"
                  L"[Application]\nRestart Code=1\n");
    EXPECT_EQ(1u, throws.Run(options).exitCode);
    EXPECT_EQ(6u, throws.Log().Values(L"mainend").size());
}
