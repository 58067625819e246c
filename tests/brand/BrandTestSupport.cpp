#include "BrandTestSupport.h"

#include "base/UniqueResource.h"

#include <gtest/gtest.h>

std::wstring BuiltLauncher()
{
    return BuildDir() + (sizeof(void*) == 8 ? L"\\bin\\launcher64.exe" : L"\\bin\\launcher.exe");
}

std::wstring BrandTool()
{
    return BuildDir() + L"\\bin\\jlaunch-brand.exe";
}

std::wstring EnglishMessages()
{
    const char path[] = JL_MESSAGES_EN;
    return ToWindowsPath(std::wstring(path, path + sizeof(path) - 1));
}

void SetU16(std::string& bytes, size_t at, unsigned value)
{
    bytes.at(at) = static_cast<char>(value & 0xFF);
    bytes.at(at + 1) = static_cast<char>((value >> 8) & 0xFF);
}

void SetU32(std::string& bytes, size_t at, unsigned long value)
{
    SetU16(bytes, at, value & 0xFFFF);
    SetU16(bytes, at + 2, (value >> 16) & 0xFFFF);
}

std::string BitmapImage(int side, char seed)
{
    std::string image(40, '\0');
    SetU32(image, 0, 40);
    SetU32(image, 4, side);
    SetU32(image, 8, 2 * side);  // colour rows and mask rows
    SetU16(image, 12, 1);
    SetU16(image, 14, 32);
    image += std::string(side * side * 4, seed);
    image += std::string(side * ((side + 31) / 32) * 4, '\0');
    return image;
}

std::string PngImage(int side, char seed)
{
    return std::string("\x89PNG\r\n\x1A\n", 8) + std::string(side, seed);
}

std::string IconFile(const std::vector<std::pair<int, std::string>>& images)
{
    std::string file(6 + 16 * images.size(), '\0');
    SetU16(file, 2, 1);
    SetU16(file, 4, static_cast<unsigned>(images.size()));
    for (size_t i = 0; i < images.size(); ++i) {
        size_t at = 6 + 16 * i;
        file[at] = file[at + 1] = static_cast<char>(images[i].first & 0xFF);  // 256 is stored as 0
        SetU16(file, at + 4, 1);
        SetU16(file, at + 6, 32);
        SetU32(file, at + 8, static_cast<unsigned long>(images[i].second.size()));
        SetU32(file, at + 12, static_cast<unsigned long>(file.size()));
        file += images[i].second;
    }
    return file;
}

namespace {

UniqueModule LoadAsData(const std::wstring& path)
{
    return UniqueModule(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

std::vector<BYTE> VersionBlock(const std::wstring& exe)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    std::vector<BYTE> block(size);
    if (size == 0 || !GetFileVersionInfoW(exe.c_str(), 0, size, block.data()))
        block.clear();
    return block;
}

std::wstring FourNumbers(DWORD high, DWORD low)
{
    return std::to_wstring(HIWORD(high)) + L"." + std::to_wstring(LOWORD(high)) + L"." + std::to_wstring(HIWORD(low)) +
           L"." + std::to_wstring(LOWORD(low));
}

const VS_FIXEDFILEINFO* FixedInfo(std::vector<BYTE>& block)
{
    void* value = nullptr;
    UINT length = 0;
    if (block.empty() || !VerQueryValueW(block.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return nullptr;
    return static_cast<const VS_FIXEDFILEINFO*>(value);
}

BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param)
{
    auto* names = reinterpret_cast<std::vector<std::wstring>*>(param);
    names->push_back(IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name))
                                          : std::wstring(name));
    return TRUE;
}

}  // namespace

ResourceData ReadResource(const std::wstring& exe, LPCWSTR type, LPCWSTR name)
{
    ResourceData data;
    UniqueModule file = LoadAsData(exe);
    HRSRC resource = file ? FindResourceW(file.get(), name, type) : nullptr;
    HGLOBAL loaded = resource ? LoadResource(file.get(), resource) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (bytes) {
        data.found = true;
        data.bytes.assign(bytes, SizeofResource(file.get(), resource));
    }
    return data;
}

std::vector<std::wstring> ResourceNames(const std::wstring& exe, LPCWSTR type)
{
    std::vector<std::wstring> names;
    UniqueModule file = LoadAsData(exe);
    EnumResourceNamesW(file.get(), type, AddName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

std::wstring VersionString(const std::wstring& exe, const std::wstring& name)
{
    std::vector<BYTE> block = VersionBlock(exe);
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    UINT length = 0;
    if (block.empty() ||
        !VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof(Translation))
        return L"(no version information)";
    wchar_t key[64];
    wsprintfW(key, L"\\StringFileInfo\\%04x%04x\\", translation->language, translation->codePage);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(block.data(), (key + name).c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return L"(missing)";
    return std::wstring(value, length && value[length - 1] == 0 ? length - 1 : length);
}

std::wstring FixedFileVersion(const std::wstring& exe)
{
    std::vector<BYTE> block = VersionBlock(exe);
    const VS_FIXEDFILEINFO* info = FixedInfo(block);
    return info ? FourNumbers(info->dwFileVersionMS, info->dwFileVersionLS) : L"(none)";
}

std::wstring FixedProductVersion(const std::wstring& exe)
{
    std::vector<BYTE> block = VersionBlock(exe);
    const VS_FIXEDFILEINFO* info = FixedInfo(block);
    return info ? FourNumbers(info->dwProductVersionMS, info->dwProductVersionLS) : L"(none)";
}

ToolRun RunBrandTool(const std::wstring& arguments, const std::wstring& folder)
{
    ToolRun run;
    // A new file each run: Wine may hold on to the last one briefly after the child ends.
    static int runs = 0;
    std::wstring errorsPath = folder + L"\\stderr-" + std::to_wstring(++runs) + L".txt";
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    UniqueFileHandle errors(CreateFileW(errorsPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(errors.valid());
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = errors.get();
    startup.hStdOutput = errors.get();
    PROCESS_INFORMATION process = {};
    std::wstring commandLine = L"\"" + BrandTool() + L"\" " + arguments;
    BOOL started = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                  folder.c_str(), &startup, &process);
    errors.reset();
    EXPECT_TRUE(started) << Narrow(commandLine);
    if (!started)
        return run;
    UniqueHandle thread(process.hThread), child(process.hProcess);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child.get(), 120000));
    GetExitCodeProcess(child.get(), &run.exitCode);
    child.reset();
    run.errors = ReadBytes(errorsPath);
    DeleteFileW(errorsPath.c_str());
    return run;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find)
        return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find.get(), &found));
    return names;
}
