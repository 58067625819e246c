// Times the runtime search on a machine with many registered runtimes.
// Registers 200 runtimes (with their folders) in the launcher's registry view,
// runs FindRuntime repeatedly, prints the mean time of one search and removes
// everything it made.
#include "RuntimeTestSupport.h"
#include "VendorRegistry.h"
#include "core/LauncherApp.h"

#include <chrono>
#include <cstdio>
#include <string>

using namespace runtime_test;

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

        LauncherApp app;
        app.m_jdkFirst = app.m_jreFirst = true;
        app.m_versionRequirement.maximum.count = 4;
        for (int32_t& component : app.m_versionRequirement.maximum.component)
            component = kVersionOpenEnd;
        app.m_jvmType = JvmType::FavorServer;

        using Clock = std::chrono::steady_clock;
        Clock::duration total{};
        for (int round = 0; round < kRounds && result == 0; ++round) {
            Clock::time_point start = Clock::now();
            bool found = app.FindRuntime();
            total += Clock::now() - start;
            if (!found) {
                std::fprintf(stderr, "the search found none of the registered runtimes\n");
                result = 1;
            }
        }
        double ms = std::chrono::duration<double, std::milli>(total).count() / kRounds;
        if (result == 0)
            std::printf("runtime search, %d registered runtimes: %.2f ms\n", kRuntimes, ms);
    }
    if (!SnapshotVendorKeys().empty()) {
        std::fprintf(stderr, "registrations were left behind\n");
        result = 1;
    }
    return result;
}
