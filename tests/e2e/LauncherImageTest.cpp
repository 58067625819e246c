// The built launchers as files: the subsystem each is made for, the DLLs it
// imports (system DLLs only, nothing the application folder could supply),
// and sections that keep code and read-only data out of writable memory.

#include "support/harness/Harness.h"

#include <dbghelp.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

const bool k32 = sizeof(void*) == 4;

void CheckLauncher(const std::wstring& name, WORD subsystem)
{
    SCOPED_TRACE(Narrow(name));
    std::string bytes = ReadBytes(BuildDir() + L"\\bin\\" + name);
    void* base = bytes.data();
    IMAGE_NT_HEADERS* nt = bytes.size() > 4096 ? ImageNtHeader(base) : nullptr;
    ASSERT_NE(nt, nullptr);
    EXPECT_EQ(nt->OptionalHeader.Subsystem, subsystem);

    bool readOnlyData = false;
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        auto rawName = reinterpret_cast<const char*>(section->Name);
        std::string sectionName(rawName, strnlen(rawName, 8));
        bool writable = section->Characteristics & IMAGE_SCN_MEM_WRITE;
        EXPECT_FALSE(writable && (section->Characteristics & (IMAGE_SCN_MEM_EXECUTE | IMAGE_SCN_CNT_CODE))) << sectionName;
        readOnlyData |= sectionName == ".rdata" && !writable;
    }
    EXPECT_TRUE(readOnlyData) << "read-only data has a read-only section of its own";

    const std::set<std::string> system = {"ADVAPI32.DLL", "COMCTL32.DLL", "GDI32.DLL", "KERNEL32.DLL", "MSVCRT.DLL",
                                          "OLE32.DLL", "SHELL32.DLL", "SHLWAPI.DLL", "USER32.DLL"};
    DWORD importRva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    auto entry = static_cast<IMAGE_IMPORT_DESCRIPTOR*>(ImageRvaToVa(nt, base, importRva, nullptr));
    ASSERT_NE(entry, nullptr);
    int dlls = 0;
    for (; entry->Name; ++entry, ++dlls) {
        std::string dll = static_cast<const char*>(ImageRvaToVa(nt, base, entry->Name, nullptr));
        CharUpperBuffA(&dll[0], static_cast<DWORD>(dll.size()));
        EXPECT_EQ(system.count(dll), 1u) << dll;
    }
    EXPECT_GE(dlls, 4);
}

TEST(LauncherImage, SubsystemImportsAndSections)
{
    CheckLauncher(k32 ? L"launcher.exe" : L"launcher64.exe", IMAGE_SUBSYSTEM_WINDOWS_GUI);
    CheckLauncher(k32 ? L"launcherc.exe" : L"launcherc64.exe", IMAGE_SUBSYSTEM_WINDOWS_CUI);
}

}  // namespace
