// The built launchers as files: the subsystem each is made for, the DLLs it
// imports (system DLLs only, nothing the application folder could supply),
// and sections that keep code and read-only data out of writable memory.

#include "support/harness/Harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace {

const bool k32 = sizeof(void*) == 4;

struct Image {
    std::string bytes;
    const IMAGE_NT_HEADERS* nt = nullptr;

    const IMAGE_SECTION_HEADER* Sections() const { return IMAGE_FIRST_SECTION(nt); }
    int SectionCount() const { return nt->FileHeader.NumberOfSections; }
    // The file bytes at a relative virtual address, or nullptr outside every section.
    const char* At(DWORD rva) const
    {
        for (int i = 0; i < SectionCount(); ++i) {
            const IMAGE_SECTION_HEADER& s = Sections()[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData &&
                s.PointerToRawData + (rva - s.VirtualAddress) < bytes.size())
                return bytes.data() + s.PointerToRawData + (rva - s.VirtualAddress);
        }
        return nullptr;
    }
};

Image Load(const std::wstring& path)
{
    Image image;
    image.bytes = ReadBytes(path);
    EXPECT_GT(image.bytes.size(), sizeof(IMAGE_DOS_HEADER)) << Narrow(path);
    if (image.bytes.size() <= sizeof(IMAGE_DOS_HEADER))
        return image;
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.bytes.data());
    image.nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image.bytes.data() + dos->e_lfanew);
    return image;
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
    return text;
}

void CheckLauncher(const std::wstring& name, WORD subsystem)
{
    SCOPED_TRACE(Narrow(name));
    Image image = Load(BuildDir() + L"\\bin\\" + name);
    ASSERT_NE(image.nt, nullptr);
    EXPECT_EQ(image.nt->Signature, IMAGE_NT_SIGNATURE);
    EXPECT_EQ(image.nt->OptionalHeader.Subsystem, subsystem);

    std::set<std::string> names;
    for (int i = 0; i < image.SectionCount(); ++i) {
        const IMAGE_SECTION_HEADER& s = image.Sections()[i];
        std::string sectionName(reinterpret_cast<const char*>(s.Name), strnlen(reinterpret_cast<const char*>(s.Name), 8));
        names.insert(sectionName);
        bool writable = s.Characteristics & IMAGE_SCN_MEM_WRITE;
        EXPECT_FALSE(writable && (s.Characteristics & IMAGE_SCN_MEM_EXECUTE)) << sectionName;
        if (sectionName == ".text" || sectionName == ".rdata")
            EXPECT_FALSE(writable) << sectionName;
        if (sectionName == ".text") {
            DWORD entry = image.nt->OptionalHeader.AddressOfEntryPoint;
            EXPECT_TRUE(entry >= s.VirtualAddress && entry < s.VirtualAddress + s.Misc.VirtualSize);
        }
    }
    EXPECT_EQ(names.count(".rdata"), 1u) << "read-only data has a section of its own";

    const std::set<std::string> system = {"ADVAPI32.DLL", "COMCTL32.DLL", "GDI32.DLL",  "KERNEL32.DLL",
                                          "MSVCRT.DLL",   "OLE32.DLL",    "SHELL32.DLL", "SHLWAPI.DLL",
                                          "USER32.DLL"};
    const IMAGE_DATA_DIRECTORY& directory = image.nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.At(directory.VirtualAddress));
    ASSERT_NE(entry, nullptr);
    int dlls = 0;
    for (; entry->Name; ++entry, ++dlls) {
        const char* dll = image.At(entry->Name);
        ASSERT_NE(dll, nullptr);
        EXPECT_EQ(system.count(Upper(dll)), 1u) << dll;
    }
    EXPECT_GE(dlls, 4);
}

TEST(LauncherImage, SubsystemImportsAndSections)
{
    CheckLauncher(k32 ? L"launcher.exe" : L"launcher64.exe", IMAGE_SUBSYSTEM_WINDOWS_GUI);
    CheckLauncher(k32 ? L"launcherc.exe" : L"launcherc64.exe", IMAGE_SUBSYSTEM_WINDOWS_CUI);
}

}  // namespace
