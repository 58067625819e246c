// splash_probe --picture FILE          writes a 400 x 300 PNG splash picture
// splash_probe [--hold] LAUNCHER [ARGUMENT...]  starts the launcher and prints, in
//   milliseconds after its start, "splash=<visible> loaded=<jvm> main=<main>
//   end=<exit>" (-1 for what did not happen). The times of the JVM library
//   and of main come from the stand-in runtime's time file (JL_FAKEJVM_TIMES,
//   which this program sets and reads). With --hold, main of test.Hold is
//   kept running until the splash window is visible (10 s at most), as that
//   of an application that takes its time to start.
#include "splash/TestPictures.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

unsigned long long Now()
{
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

struct Search {
    DWORD processId;
    bool found;
};

BOOL CALLBACK FindSplash(HWND window, LPARAM param)
{
    Search* search = reinterpret_cast<Search*>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    wchar_t name[64] = {};
    if (processId == search->processId && IsWindowVisible(window) && GetClassNameW(window, name, 64) &&
        wcscmp(name, L"SplashScreenWindow") == 0) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

long long Ms(unsigned long long at, unsigned long long start) { return at ? static_cast<long long>(at - start) / 10000 : -1; }

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && wcscmp(argv[1], L"--picture") == 0) {
        std::string png = TestPicture{400, 300}.Png();
        FILE* file = _wfopen(argv[2], L"wb");
        if (!file)
            return 3;
        bool written = fwrite(png.data(), 1, png.size(), file) == png.size();
        return fclose(file) == 0 && written ? 0 : 3;
    }
    int first = 1;
    HANDLE hold = nullptr;
    if (argc > 1 && wcscmp(argv[1], L"--hold") == 0) {
        std::wstring name = L"jl-splash-probe-hold-" + std::to_wstring(GetCurrentProcessId());
        hold = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
        SetEnvironmentVariableW(L"JL_FAKEJVM_MAIN_HOLD", name.c_str());
        first = 2;
    }
    if (argc <= first)
        return 2;
    const wchar_t* launcher = argv[first];
    std::wstring commandLine = L"\"" + std::wstring(launcher) + L"\"";
    for (int i = first + 1; i < argc; ++i)
        commandLine += L" " + std::wstring(argv[i]);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring times = std::wstring(temp) + L"jl-splash-probe-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    DeleteFileW(times.c_str());
    SetEnvironmentVariableW(L"JL_FAKEJVM_TIMES", times.c_str());

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    unsigned long long start = Now();
    if (!CreateProcessW(launcher, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 3;
    unsigned long long splash = 0;
    Search search{process.dwProcessId, false};
    while (WaitForSingleObject(process.hProcess, splash ? INFINITE : 1) == WAIT_TIMEOUT) {
        EnumWindows(FindSplash, reinterpret_cast<LPARAM>(&search));
        if (search.found && !splash) {
            splash = Now();
            if (hold)
                SetEvent(hold);
        }
        if (hold && Now() - start > 100000000ULL)  // 10 s
            SetEvent(hold);
    }
    if (hold)
        CloseHandle(hold);
    unsigned long long end = Now();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    unsigned long long loaded = 0, main = 0;
    if (FILE* file = _wfopen(times.c_str(), L"r")) {
        char event[16];
        unsigned long long at;
        while (fscanf(file, "%15s %llu", event, &at) == 2) {
            if (strcmp(event, "loaded") == 0 && !loaded)
                loaded = at;
            if (strcmp(event, "main") == 0 && !main)
                main = at;
        }
        fclose(file);
    }
    DeleteFileW(times.c_str());
    printf("splash=%lld loaded=%lld main=%lld end=%lld\n", Ms(splash, start), Ms(loaded, start), Ms(main, start),
           Ms(end, start));
    return 0;
}
