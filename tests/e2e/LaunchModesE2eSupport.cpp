#include "e2e/LaunchModesE2eSupport.h"

#include "core/SingleInstance.h"

#include <gtest/gtest.h>

std::wstring SingleInstanceIni(const std::wstring& mainClass, const std::wstring& application)
{
    return L"[Java Runtime Environment]\nMain Class=" + mainClass +
           L"\n[Class Path]\nClass Path=C:\\app.jar\n[Application]\nSingle Instance=yes\n" + application;
}

bool WaitForLog(const AppFolder& app, const std::function<bool(const FakeJvmLog&)>& ready,
                const std::future<LaunchResult>* running)
{
    ULONGLONG deadline = GetTickCount64() + 120000;
    while (!ready(FakeJvmLog::Read(app.LogPath()))) {
        if (GetTickCount64() > deadline)
            return false;
        if (running && running->wait_for(std::chrono::seconds(0)) == std::future_status::ready)
            return ready(FakeJvmLog::Read(app.LogPath()));
        Sleep(50);
    }
    return true;
}

std::future<LaunchResult> StartFirstInstance(JvmApp& app, LaunchOptions options)
{
    DeleteFileW(app.folder.LogPath().c_str());
    options.env[L"JL_FAKEJVM_LINGER_MS"] = L"120000";
    options.timeoutMs = 240000;
    std::future<LaunchResult> first = std::async(std::launch::async, [&app, options] { return app.Run(options); });
    EXPECT_TRUE(WaitForLog(app, [](const FakeJvmLog& log) { return log.Has(L"mainend"); }, &first))
        << "the first instance's main never ran";
    return first;
}

std::vector<Texts> SecondaryCalls(const FakeJvmLog& log)
{
    // A call's records are written together; "arg" records follow the
    // "main" or "secondary" record they belong to.
    std::vector<Texts> calls;
    bool inCall = false;
    for (const auto& record : log.records) {
        if (record[0] == L"secondary" || record[0] == L"main") {
            inCall = record[0] == L"secondary";
            if (inCall)
                calls.emplace_back();
        } else if (record[0] == L"arg" && inCall) {
            calls.back().push_back(record.size() > 1 ? record[1] : std::wstring());
        }
    }
    return calls;
}

std::wstring InstanceName(const AppFolder& app)
{
    String name = InstanceObjectName(ExecutableIdentity(String(app.Launcher().c_str())));
    return std::wstring(name.CStr(), name.Length());
}
