#include "RuntimeTestSupport.h"
#include "core/LauncherApp.h"
#include "runtime/PeImageView.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

namespace {

using runtime_test::MinimalPeImage;

constexpr WORD kOtherMachine =
    kLauncherMachine == IMAGE_FILE_MACHINE_I386 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386;

String Text(const std::wstring& text)
{
    return String(text.c_str());
}

std::wstring TinyDll(const char* buildVariable)
{
    std::wstring build = runtime_test::WindowsPathFromEnv(buildVariable);
    return build.empty() ? build : build + L"\\runtime_test_data\\tiny.dll";
}

TEST(PeImageView, ReadsTheMachineOfMinimalImages)
{
    TempFolder folder;
    const WORD machines[] = {IMAGE_FILE_MACHINE_I386, IMAGE_FILE_MACHINE_AMD64, IMAGE_FILE_MACHINE_ARM64};
    for (WORD machine : machines) {
        std::wstring path = folder / (L"m" + std::to_wstring(machine) + L".dll");
        WriteBytes(path, MinimalPeImage(machine));
        PeImageView view(Text(path));
        EXPECT_TRUE(view.IsValid()) << machine;
        EXPECT_EQ(view.Machine(), machine);
    }
}

// The subsystem tells a GUI program from a console one; an optional header
// that is too short, or cut off by the file's end, gives none.
TEST(PeImageView, ReadsTheSubsystem)
{
    TempFolder folder;
    const size_t optionalAt = 0x40 + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER);
    const size_t subsystemAt = optionalAt + offsetof(IMAGE_OPTIONAL_HEADER32, Subsystem);
    const size_t sizeFieldAt = 0x40 + sizeof(DWORD) + offsetof(IMAGE_FILE_HEADER, SizeOfOptionalHeader);
    struct Row {
        WORD machine;
        WORD optionalSize;  // 0: as built
        size_t length;      // 0: whole
        WORD expected;
    } rows[] = {
        {IMAGE_FILE_MACHINE_I386, 0, 0, IMAGE_SUBSYSTEM_WINDOWS_CUI},
        {IMAGE_FILE_MACHINE_AMD64, 0, 0, IMAGE_SUBSYSTEM_WINDOWS_CUI},
        {IMAGE_FILE_MACHINE_AMD64, offsetof(IMAGE_OPTIONAL_HEADER64, Subsystem) + 1, 0, 0},
        {IMAGE_FILE_MACHINE_AMD64, offsetof(IMAGE_OPTIONAL_HEADER64, Subsystem) + 2, 0, IMAGE_SUBSYSTEM_WINDOWS_CUI},
        {IMAGE_FILE_MACHINE_AMD64, 0, subsystemAt + 1, 0},
        {IMAGE_FILE_MACHINE_I386, 0, subsystemAt + 2, IMAGE_SUBSYSTEM_WINDOWS_CUI},
    };
    for (const Row& row : rows) {
        std::string bytes = MinimalPeImage(row.machine);
        WORD subsystem = IMAGE_SUBSYSTEM_WINDOWS_CUI;
        std::memcpy(&bytes[subsystemAt], &subsystem, sizeof(subsystem));
        if (row.optionalSize)
            std::memcpy(&bytes[sizeFieldAt], &row.optionalSize, sizeof(row.optionalSize));
        if (row.length)
            bytes.resize(row.length);
        std::wstring path = folder / L"image.exe";
        WriteBytes(path, bytes);
        PeImageView view(Text(path));
        EXPECT_EQ(row.expected, view.Subsystem()) << row.machine << " " << row.optionalSize << " " << row.length;
    }

    std::wstring build = runtime_test::WindowsPathFromEnv("JL_BUILD_DIR");
    if (build.empty())
        GTEST_SKIP() << "JL_BUILD_DIR is not set";
    const wchar_t* suffix = kLauncherMachine == IMAGE_FILE_MACHINE_I386 ? L".exe" : L"64.exe";
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, PeImageView(Text(build + L"\\bin\\launcher" + suffix)).Subsystem());
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_CUI, PeImageView(Text(build + L"\\bin\\launcherc" + suffix)).Subsystem());
}

TEST(PeImageView, ReadsTheMachineOfARealDll)
{
    std::wstring own = TinyDll("JL_BUILD_DIR");
    ASSERT_FALSE(own.empty()) << "JL_BUILD_DIR is not set";
    PeImageView view(Text(own));
    ASSERT_TRUE(view.IsValid());
    EXPECT_EQ(view.Machine(), kLauncherMachine);

    // The other architecture's build holds the same DLL for its machine.
    std::wstring peer = TinyDll("JL_PEER_BUILD");
    if (peer.empty() || GetFileAttributesW(peer.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no peer build; the other machine is covered by the minimal images";
    PeImageView peerView(Text(peer));
    ASSERT_TRUE(peerView.IsValid());
    EXPECT_EQ(peerView.Machine(), kOtherMachine);
}

TEST(PeImageView, RejectsWhatIsNotAWholeImageHeader)
{
    TempFolder folder;
    std::string good = MinimalPeImage(IMAGE_FILE_MACHINE_AMD64);
    const size_t headEnd = 0x40 + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER);

    auto withOffset = [&](LONG offset) {
        std::string bytes = good;
        std::memcpy(&bytes[offsetof(IMAGE_DOS_HEADER, e_lfanew)], &offset, sizeof(offset));
        return bytes;
    };
    std::string badSignature = good;
    badSignature[0x41] = 'X';

    struct Case {
        const char* name;
        std::string bytes;
        bool valid;
    };
    const Case cases[] = {
        {"empty", "", false},
        {"MZ alone", "MZ", false},
        {"DOS header cut short", good.substr(0, 0x3C), false},
        {"NT headers cut short", good.substr(0, headEnd - 1), false},
        {"file header just fits", good.substr(0, headEnd), true},
        {"text file", std::string("Hello, this is not an image at all.\r\n") + std::string(200, 'x'), false},
        {"no MZ", "ZM" + good.substr(2), false},
        {"no PE signature", badSignature, false},
        {"offset beyond the file", withOffset(0x7FFFFFF0), false},
        {"negative offset", withOffset(-8), false},
        {"offset past the end by one", withOffset(static_cast<LONG>(good.size() - headEnd + 0x40 + 1)), false},
        {"offset at the start", withOffset(0), false},  // "MZ.." is not "PE\0\0"
    };
    for (const Case& c : cases) {
        std::wstring path = folder / L"image.dll";
        WriteBytes(path, c.bytes);
        PeImageView view(Text(path));
        EXPECT_EQ(view.IsValid(), c.valid) << c.name;
        EXPECT_EQ(view.Machine(), c.valid ? IMAGE_FILE_MACHINE_AMD64 : 0) << c.name;
        view.Close();
        ASSERT_TRUE(DeleteFileW(path.c_str())) << c.name << ": the view still holds the file";
    }
}

TEST(PeImageView, RejectsATruncatedRealDll)
{
    std::string bytes = ReadBytes(TinyDll("JL_BUILD_DIR"));
    ASSERT_GT(bytes.size(), 0x200u);
    LONG offset;
    std::memcpy(&offset, &bytes[offsetof(IMAGE_DOS_HEADER, e_lfanew)], sizeof(offset));
    TempFolder folder;
    std::wstring path = folder / L"cut.dll";
    WriteBytes(path, bytes.substr(0, offset + 8));
    EXPECT_FALSE(PeImageView(Text(path)).IsValid());
}

TEST(PeImageView, RejectsFoldersAndMissingFiles)
{
    TempFolder folder;
    EXPECT_FALSE(PeImageView(Text(folder.Path())).IsValid());
    EXPECT_FALSE(PeImageView(Text(folder / L"missing.dll")).IsValid());
    EXPECT_FALSE(PeImageView(String()).IsValid());
}

TEST(PeImageView, ReopeningReleasesTheFirstFile)
{
    TempFolder folder;
    std::wstring first = folder / L"first.dll";
    std::wstring second = folder / L"second.dll";
    WriteBytes(first, MinimalPeImage(IMAGE_FILE_MACHINE_I386));
    WriteBytes(second, MinimalPeImage(IMAGE_FILE_MACHINE_AMD64));
    PeImageView view(Text(first));
    ASSERT_TRUE(view.IsValid());
    EXPECT_FALSE(DeleteFileW(first.c_str())) << "an open view shares the file for reading only";
    EXPECT_TRUE(view.Open(Text(second)));
    EXPECT_EQ(view.Machine(), IMAGE_FILE_MACHINE_AMD64);
    EXPECT_TRUE(DeleteFileW(first.c_str()));
    EXPECT_FALSE(view.Open(Text(first)));
    EXPECT_EQ(view.Machine(), 0);
    EXPECT_TRUE(DeleteFileW(second.c_str()));
}

class ArchitectureCheck : public testing::Test {
protected:
    bool Check(const std::string& bytes, const wchar_t* pairProduct, bool before = false)
    {
        std::wstring path = m_folder / L"bin\\server\\jvm.dll";
        WriteBytes(path, bytes);
        m_app.m_jvmLibraryPath = Text(path);
        m_app.m_pairProduct = pairProduct;
        m_app.m_launchPair = before;
        m_app.CheckRuntimeArchitecture();
        return m_app.m_launchPair;
    }
    TempFolder m_folder;
    LauncherApp m_app;
};

TEST_F(ArchitectureCheck, HandsOtherMachinesToThePairedLauncher)
{
    EXPECT_TRUE(Check(MinimalPeImage(kOtherMachine), L"launcher64.exe"));
    EXPECT_FALSE(Check(MinimalPeImage(kLauncherMachine), L"launcher64.exe", true));
    EXPECT_TRUE(Check(MinimalPeImage(IMAGE_FILE_MACHINE_ARM64), L"launcher64.exe"));
}

TEST_F(ArchitectureCheck, NeedsAPairedLauncher)
{
    EXPECT_FALSE(Check(MinimalPeImage(kOtherMachine), L"", true));
}

TEST_F(ArchitectureCheck, LeavesUnrecognisedFilesToTheLoader)
{
    EXPECT_FALSE(Check("junk, not a DLL", L"launcher64.exe", true));
    EXPECT_FALSE(Check("", L"launcher64.exe", true));
    m_app.m_jvmLibraryPath = Text(m_folder / L"missing.dll");
    m_app.m_launchPair = true;
    m_app.CheckRuntimeArchitecture();
    EXPECT_FALSE(m_app.m_launchPair);
}

#ifndef _WIN64
TEST(ArchitectureCheck32, OnlyI386IsLoadableHere)
{
    EXPECT_EQ(kLauncherMachine, 0x014C);
}
#endif

}  // namespace
