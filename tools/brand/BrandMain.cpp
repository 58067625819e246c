// jlaunch-brand on Windows: gives a copy of the launcher an application's
// icon, name, version and embedded default settings.

#include "BrandCommand.h"

#include <windows.h>

namespace {

void Write(DWORD stream, const std::wstring& text)
{
    if (text.empty())
        return;
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
    BrandCommandResult result = RunBrandCommand(std::vector<std::wstring>(argv + 1, argv + argc));
    Write(STD_OUTPUT_HANDLE, result.output);
    Write(STD_ERROR_HANDLE, result.errors);
    return result.exitCode;
}
