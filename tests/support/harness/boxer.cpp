// A stand-in for the launcher, used to test the end-to-end harness itself.
//   boxer box <code> <text>   shows <text> in a message box, then exits with <code>
//   boxer ask <text>          shows <text> with Yes/No/Cancel and exits with the button pressed
//   boxer env <name>          shows the variable's value ("<unset>" when it is not set)
//   boxer args <a> <b> ...    shows the arguments after "args" joined with "|"
//   boxer cwd                 shows the current folder
//   boxer hang                never ends
//   boxer spawn <args...>     starts another boxer with <args...> and exits with 3 at once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

int Show(const std::wstring& text, UINT style = MB_OK)
{
    return MessageBoxW(nullptr, text.c_str(), L"Boxer", style);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv || count < 2)
        return 100;
    std::wstring mode = argv[1];
    if (mode == L"box" && count >= 4) {
        Show(argv[3]);
        return _wtoi(argv[2]);
    }
    if (mode == L"ask" && count >= 3)
        return Show(argv[2], MB_YESNOCANCEL | MB_ICONQUESTION);
    if (mode == L"env" && count >= 3) {
        wchar_t value[32768];
        DWORD length = GetEnvironmentVariableW(argv[2], value, 32768);
        Show(length == 0 ? std::wstring(L"<unset>") : std::wstring(value, length));
        return 0;
    }
    if (mode == L"args") {
        std::wstring joined;
        for (int i = 2; i < count; ++i)
            joined += (i > 2 ? L"|" : L"") + std::wstring(argv[i]);
        Show(joined);
        return count - 2;
    }
    if (mode == L"cwd") {
        wchar_t folder[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, folder);
        Show(folder);
        return 0;
    }
    if (mode == L"hang") {
        Sleep(INFINITE);
        return 0;
    }
    if (mode == L"spawn") {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring commandLine = L"\"" + std::wstring(self) + L"\"";
        for (int i = 2; i < count; ++i)
            commandLine += L" \"" + std::wstring(argv[i]) + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        if (!CreateProcessW(self, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process))
            return 101;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return 3;
    }
    return 100;
}
