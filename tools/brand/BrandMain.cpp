// jlaunch-brand: gives a copy of the launcher an application's icon, name,
// version and embedded default settings.

#include "Brand.h"

#include <windows.h>

namespace {

void Write(DWORD stream, const std::wstring& text)
{
    HANDLE handle = GetStdHandle(stream);
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(handle, &mode)) {
        WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return;
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::vector<std::wstring> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == L"--help" || args[0] == L"/?")) {
        Write(STD_OUTPUT_HANDLE, kBrandUsage);
        return 0;
    }
    BrandOptions options;
    std::wstring error;
    if (!ParseBrandArguments(args, options, error)) {
        Write(STD_ERROR_HANDLE, L"jlaunch-brand: " + error + L"\n" + kBrandUsage);
        return 2;
    }
    if (!BrandLauncher(options, error)) {
        Write(STD_ERROR_HANDLE, L"jlaunch-brand: " + error + L"\n");
        return 1;
    }
    Write(STD_OUTPUT_HANDLE, L"jlaunch-brand: wrote " + options.output + L"\n");
    return 0;
}
