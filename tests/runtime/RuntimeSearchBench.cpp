// Times the runtime search on a machine with many registered runtimes.
// Registers 200 runtimes (with their folders) under the classic vendor keys
// of the launcher's registry view, runs FindRuntime repeatedly and prints the
// mean time of one search; then the same for 200 runtimes registered the way
// today's distributors' installers do it, with no classic key. Removes
// everything it made.
#include "RuntimeTestSupport.h"
#include "VendorRegistry.h"
#include "core/LauncherApp.h"

#include <chrono>
#include <cstdio>
#include <string>

using namespace runtime_test;

namespace {

// Runs FindRuntime rounds times over what is registered and prints the mean
// time of one search with format (count, milliseconds). 1 when nothing is found.
int TimeSearch(const char* format, int count, int rounds)
{
    LauncherApp app;
    app.m_jdkFirst = app.m_jreFirst = true;
    app.m_versionRequirement.maximum.count = 4;
    for (int32_t& component : app.m_versionRequirement.maximum.component)
        component = kVersionOpenEnd;
    app.m_jvmType = JvmType::FavorServer;

    using Clock = std::chrono::steady_clock;
    Clock::duration total{};
    for (int round = 0; round < rounds; ++round) {
        Clock::time_point start = Clock::now();
        bool found = app.FindRuntime();
        total += Clock::now() - start;
        if (!found) {
            std::fprintf(stderr, "the search found none of the registered runtimes\n");
            return 1;
        }
    }
    std::printf(format, count, std::chrono::duration<double, std::milli>(total).count() / rounds);
    return 0;
}

}  // namespace

int main()
{
    constexpr int kRuntimes = 200;
    constexpr int kRounds = 20;
    if (!SnapshotVendorKeys().empty()) {
        std::fprintf(stderr, "the registry already holds Java registrations; not touching them\n");
        return 1;
    }
    TempFolder folder;
    int result = 0;
    {
        VendorRegistry registry;
        const wchar_t* keys[] = {kJdkKey, kJreKey, kDevelopmentKitKey, kRuntimeKey};
        for (int i = 0; i < kRuntimes; ++i) {
            std::wstring name = L"rt" + std::to_wstring(i);
            const wchar_t* key = keys[i % 4];
            bool jreFolder = key == kDevelopmentKitKey;
            MakeRuntime(folder / (jreFolder ? name + L"\\jre" : name), {i % 3 ? L"client" : L"server"});
            std::wstring version = L"1." + std::to_wstring(i % 12) + L".0_" + std::to_wstring(i);
            registry.Register(kLauncherView, key, version, folder / name);
        }

        result = TimeSearch("runtime search, %d registered runtimes: %.2f ms\n", kRuntimes, kRounds);

        registry.Clear();
        const wchar_t* distributors[] = {L"Software\\Eclipse Adoptium\\JDK", L"Software\\Microsoft\\JDK"};
        for (int i = 0; i < kRuntimes && result == 0; ++i) {
            std::wstring version = std::to_wstring(11 + i % 12) + L".0." + std::to_wstring(i) + L".9";
            std::wstring key = distributors[i % 2] + (L"\\" + version) + L"\\hotspot\\MSI";
            registry.SetText(HKEY_LOCAL_MACHINE, kLauncherView, key, L"Path", folder / (L"rt" + std::to_wstring(i)));
        }
        if (result == 0)
            result = TimeSearch("runtime search, %d distributor runtimes only: %.2f ms\n", kRuntimes, kRounds);
    }
    if (!SnapshotVendorKeys().empty()) {
        std::fprintf(stderr, "registrations were left behind\n");
        result = 1;
    }
    return result;
}
