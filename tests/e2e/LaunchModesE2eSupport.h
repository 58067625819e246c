#pragma once

#include "e2e/JvmE2eSupport.h"

#include <functional>
#include <future>
#include <string>
#include <vector>

using Texts = std::vector<std::wstring>;

// Settings of a single-instance application with the given main class.
std::wstring SingleInstanceIni(const std::wstring& mainClass, const std::wstring& application = L"");

// Waits (two minutes at most) until the stand-in runtime's log shows what
// ready looks for; false when it never does, or when the launch running
// (if given) has ended without it.
bool WaitForLog(const AppFolder& app, const std::function<bool(const FakeJvmLog&)>& ready,
                const std::future<LaunchResult>* running = nullptr);
inline bool WaitForLog(const JvmApp& app, const std::function<bool(const FakeJvmLog&)>& ready,
                       const std::future<LaunchResult>* running = nullptr)
{
    return WaitForLog(app.folder, ready, running);
}

// Starts the first instance in the background with a fresh log and waits
// until its main runs. Programs that serve later starts keep running for two
// minutes at most.
std::future<LaunchResult> StartFirstInstance(JvmApp& app, LaunchOptions options = {});

// Each secondaryMain call in the log with the arguments it received.
std::vector<Texts> SecondaryCalls(const FakeJvmLog& log);

// The name the launcher's single-instance objects are built from.
std::wstring InstanceName(const AppFolder& app);
