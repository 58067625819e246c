// What the branding tool writes, checked against the system's own image
// helper: every file carries the checksum MapFileAndCheckSumW computes, a
// signed launcher is refused unless its signature is stripped first, and
// damaged executables are refused without reading outside the file.

#include "Brand.h"
#include "LauncherResources.h"
#include "PeImage.h"

#include "BrandTestSupport.h"

#include <imagehlp.h>
#include <stddef.h>

#include <gtest/gtest.h>

namespace {

const char kSignedRefusal[] = "sign after branding; use --strip-signature to brand a signed copy";

// The header's checksum and the one the system computes for the file.
struct Sums {
    DWORD header = 1;
    DWORD computed = 2;
};

Sums SystemSums(const std::wstring& path)
{
    Sums sums;
    EXPECT_EQ(static_cast<DWORD>(CHECKSUM_SUCCESS), MapFileAndCheckSumW(path.c_str(), &sums.header, &sums.computed))
        << Narrow(path);
    return sums;
}

// Where the data directory entry index lies in an executable's bytes.
size_t DirectoryAt(const std::string& exe, unsigned index)
{
    size_t nt = static_cast<unsigned char>(exe.at(0x3C)) | static_cast<unsigned char>(exe.at(0x3D)) << 8;
    size_t optional = nt + offsetof(IMAGE_NT_HEADERS32, OptionalHeader);
    bool pe32Plus = exe.at(optional) == 0x0B && exe.at(optional + 1) == 0x02;
    return optional + (pe32Plus ? offsetof(IMAGE_OPTIONAL_HEADER64, DataDirectory)
                                : offsetof(IMAGE_OPTIONAL_HEADER32, DataDirectory)) +
           index * sizeof(IMAGE_DATA_DIRECTORY);
}

// The executable with a certificate table appended as a signing tool does
// (8-byte aligned, named by the security directory), then trailing bytes.
std::string SignedCopy(std::string exe, const std::string& trailing = "")
{
    exe.resize((exe.size() + 7) & ~size_t(7), '\0');
    size_t tableAt = exe.size();
    std::string certificate(16, '\0');
    SetU32(certificate, 0, 16);       // dwLength
    SetU16(certificate, 4, 0x0200);   // WIN_CERT_REVISION_2_0
    SetU16(certificate, 6, 2);        // WIN_CERT_TYPE_PKCS_SIGNED_DATA
    exe += certificate + trailing;
    SetU32(exe, DirectoryAt(exe, IMAGE_DIRECTORY_ENTRY_SECURITY), static_cast<unsigned long>(tableAt));
    SetU32(exe, DirectoryAt(exe, IMAGE_DIRECTORY_ENTRY_SECURITY) + 4, 16);
    return exe;
}

class BrandOutput : public ::testing::Test {
protected:
    std::wstring In(const std::wstring& name) const { return m_folder.Path() + L"\\" + name; }
    BrandOptions Options(const std::wstring& launcher, const std::wstring& output) const
    {
        BrandOptions options;
        options.launcher = launcher;
        options.output = output;
        options.name = L"My App";
        options.version = L"1.2.3.4";
        return options;
    }
    TempFolder m_folder{L"jl-brand-sums-"};
};

}  // namespace

TEST_F(BrandOutput, EveryBrandedFileCarriesTheSystemsChecksum)
{
    // A 256-pixel bitmap makes the resources outgrow their section, so the
    // base relocations after them move.
    ASSERT_TRUE(WriteBytes(In(L"small.ico"), IconFile({{16, BitmapImage(16, 's')}})));
    ASSERT_TRUE(WriteBytes(In(L"large.ico"), IconFile({{256, BitmapImage(256, 'l')}, {48, PngImage(48, 'p')}})));
    ASSERT_TRUE(WriteBytes(In(L"odd.ini"), "[Application]\nCmd=x\n"));
    const std::wstring peer = PeerBuildDir();
    const std::wstring other = peer + (sizeof(void*) == 8 ? L"\\bin\\launcher.exe" : L"\\bin\\launcher64.exe");
    struct Row {
        const char* what;
        std::wstring launcher, icon, settings;
        std::string firstImage;  // of the icon, when one is given
    } rows[] = {
        {"name and version only", BuiltLauncher(), L"", L"", ""},
        {"small icon and settings", BuiltLauncher(), In(L"small.ico"), In(L"odd.ini"), BitmapImage(16, 's')},
        {"resources that outgrow their section", BuiltLauncher(), In(L"large.ico"), In(L"odd.ini"),
         BitmapImage(256, 'l')},
        {"the other architecture's launcher", other, In(L"large.ico"), L"", BitmapImage(256, 'l')},
    };
    for (const Row& row : rows) {
        if (!FileExists(row.launcher))
            continue;  // no build of the other architecture
        BrandOptions options = Options(row.launcher, In(L"MyApp.exe"));
        options.icon = row.icon;
        options.settings = row.settings;
        std::wstring error;
        ASSERT_TRUE(BrandLauncher(options, error)) << row.what << ": " << Narrow(error);
        Sums sums = SystemSums(options.output);
        EXPECT_NE(0u, sums.header) << row.what;
        EXPECT_EQ(sums.computed, sums.header) << row.what;
        if (!row.icon.empty())
            EXPECT_TRUE(row.firstImage == ReadResource(options.output, RT_ICON, MAKEINTRESOURCEW(1)).bytes)
                << row.what;
    }
}

TEST(BrandChecksum, SameAsTheSystemForOddAndEvenSizes)
{
    std::string launcher = ReadBytes(BuiltLauncher());
    ASSERT_GT(launcher.size(), 4096u);
    for (size_t extra : {0, 1, 2, 3, 4097}) {
        std::string file = launcher + std::string(extra, '\xA5');
        DWORD header = 0, system = 0;
        ASSERT_TRUE(CheckSumMappedFile(&file[0], static_cast<DWORD>(file.size()), &header, &system)) << extra;
        Bytes bytes(file.begin(), file.end());
        PeLayout layout;
        ASSERT_TRUE(ParsePe(bytes, layout));
        EXPECT_EQ(system, PeChecksum(bytes, layout.checksumAt)) << extra;
    }
}

TEST_F(BrandOutput, SignedLauncherIsRefusedAndLeavesNothing)
{
    ASSERT_TRUE(WriteBytes(In(L"signed.exe"), SignedCopy(ReadBytes(BuiltLauncher()))));
    TempFolder output(L"jl-brand-out-");
    ToolRun run = RunBrandTool(L"signed.exe \"" + output.Path() + L"\\MyApp.exe\" --name \"My App\" --version 1.2.3.4",
                               m_folder.Path());
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_NE(std::string::npos, run.errors.find(std::string("signed.exe is signed: ") + kSignedRefusal))
        << run.errors;
    EXPECT_EQ(std::vector<std::wstring>(), FilesIn(output.Path()));
}

TEST_F(BrandOutput, StrippedSignedLauncherBrandsLikeTheUnsignedOne)
{
    // The branded copy of the unsigned launcher, for comparison.
    TempFolder plain(L"jl-brand-plain-");
    std::wstring error;
    ASSERT_TRUE(BrandLauncher(Options(BuiltLauncher(), plain.Path() + L"\\MyApp.exe"), error)) << Narrow(error);

    ASSERT_TRUE(WriteBytes(In(L"signed.exe"), SignedCopy(ReadBytes(BuiltLauncher()))));
    ToolRun run = RunBrandTool(L"signed.exe MyApp.exe --name \"My App\" --version 1.2.3.4 --strip-signature",
                               m_folder.Path());
    EXPECT_EQ(0u, run.exitCode) << run.errors;
    std::string stripped = ReadBytes(In(L"MyApp.exe"));
    EXPECT_EQ(std::string(8, '\0'), stripped.substr(DirectoryAt(stripped, IMAGE_DIRECTORY_ENTRY_SECURITY), 8));
    EXPECT_TRUE(ReadBytes(plain.Path() + L"\\MyApp.exe") == stripped);
    Sums sums = SystemSums(In(L"MyApp.exe"));
    EXPECT_EQ(sums.computed, sums.header);

    // A table with bytes after it is not what a signing tool writes: left alone.
    ASSERT_TRUE(WriteBytes(In(L"trailing.exe"), SignedCopy(ReadBytes(BuiltLauncher()), "more")));
    BrandOptions options = Options(In(L"trailing.exe"), In(L"Odd.exe"));
    options.stripSignature = true;
    EXPECT_FALSE(BrandLauncher(options, error));
    EXPECT_NE(std::wstring::npos, error.find(L"its certificate table does not end the file")) << Narrow(error);
    EXPECT_FALSE(FileExists(In(L"Odd.exe")));
}

TEST(BrandPe, DamagedExecutablesAreRefused)
{
    const std::string launcher = ReadBytes(BuiltLauncher());
    Bytes bytes(launcher.begin(), launcher.end());
    PeLayout layout;
    ASSERT_TRUE(ParsePe(bytes, layout));
    size_t rootAt = 0;
    ASSERT_TRUE(layout.FileOffset(layout.Directory(kResourceDirectory).address, 16, bytes.size(), rootAt));
    const size_t resourcesAt = rootAt;
    auto with = [&](size_t at, const std::string& patch) {
        std::string copy = launcher;
        copy.replace(at, patch.size(), patch);
        return copy;
    };
    struct Row {
        const char* what;
        std::string file;
        const wchar_t* message;
    } rows[] = {
        {"cut in the DOS header", launcher.substr(0, 0x30), L"is not a Windows executable"},
        {"cut in the section table", launcher.substr(0, layout.sections[0].headerAt + 20), L"is not a Windows executable"},
        {"PE offset past the end", with(0x3C, "\xFF\xFF\xFF\x7F"), L"is not a Windows executable"},
        {"cut in the resources", launcher.substr(0, resourcesAt + 40), L"its resource directory is damaged"},
        {"65535 entries in the root", with(resourcesAt + 12, "\xFF\xFF\xFF\xFF"), L"its resource directory is damaged"},
        {"subdirectory outside the section", with(resourcesAt + 20, "\xF0\xFF\xFF\xFF"), L"its resource directory is damaged"},
    };
    for (const Row& row : rows) {
        LauncherResources resources;
        std::wstring error;
        EXPECT_FALSE(ReadLauncherResources(Bytes(row.file.begin(), row.file.end()), L"x.exe", resources, error))
            << row.what;
        EXPECT_NE(std::wstring::npos, error.find(row.message)) << row.what << ": " << Narrow(error);
    }
}
