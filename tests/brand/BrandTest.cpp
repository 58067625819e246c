// Branded copies of the launcher read back, and inputs the tool refuses: each
// refusal names the problem and leaves no output (or the old one untouched)
// and no temporary file.

#include "Brand.h"

#include "BrandTestSupport.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Names = std::vector<std::wstring>;

const char kSettings[] = "[Java Runtime Environment]\r\nMain Class=brand.Main\r\nName=caf\xC3\xA9\r\n";
const wchar_t kSettingsText[] = L"\xFEFF[Java Runtime Environment]\r\nMain Class=brand.Main\r\nName=caf\x00E9\r\n";

std::string Utf16Bytes(const std::wstring& text)
{
    std::string bytes;
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

// A folder with the inputs of a branding: the launcher, an icon of two images
// and an INI file.
class BrandFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CopyFileW(BuiltLauncher().c_str(), Launcher().c_str(), FALSE)) << Narrow(BuiltLauncher());
        ASSERT_TRUE(WriteBytes(Icon(), IconFile({{16, BitmapImage(16, 'i')}, {48, PngImage(48, 'j')}})));
        ASSERT_TRUE(WriteBytes(Settings(), kSettings));
    }
    std::wstring In(const wchar_t* name) const { return m_folder.Path() + L"\\" + name; }
    std::wstring Launcher() const { return In(L"launcher.exe"); }
    std::wstring Icon() const { return In(L"app.ico"); }
    std::wstring Settings() const { return In(L"defaults.ini"); }
    std::wstring Output() const { return In(L"MyApp.exe"); }
    BrandOptions Options() const
    {
        BrandOptions options;
        options.launcher = Launcher();
        options.output = Output();
        options.icon = Icon();
        options.name = L"My App \x00C9";
        options.version = L"1.2.3.4";
        options.company = L"Example Ltd";
        options.copyright = L"(c) 2026 Example Ltd";
        options.settings = Settings();
        return options;
    }
    static Names Sorted(Names names)
    {
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder m_folder{L"jl-brand-"};
};

}  // namespace

TEST_F(BrandFixture, CopyCarriesIconVersionAndSettings)
{
    std::wstring error;
    ASSERT_TRUE(BrandLauncher(Options(), error)) << Narrow(error);
    EXPECT_EQ(Sorted({L"MyApp.exe", L"app.ico", L"defaults.ini", L"launcher.exe"}), Sorted(FilesIn(m_folder.Path())));

    // The icon group keeps the launcher's id and names one RT_ICON per image,
    // each holding that image's bytes; no other icon is left.
    ResourceData group = ReadResource(Output(), RT_GROUP_ICON, MAKEINTRESOURCEW(1));
    ASSERT_TRUE(group.found);
    ASSERT_EQ(6u + 2 * 14, group.bytes.size());
    EXPECT_EQ(Names{L"#1"}, ResourceNames(Output(), RT_GROUP_ICON));
    const std::string images[] = {BitmapImage(16, 'i'), PngImage(48, 'j')};
    Names iconNames;
    for (int i = 0; i < 2; ++i) {
        const std::string entry = group.bytes.substr(6 + 14 * i, 14);
        unsigned id = static_cast<unsigned char>(entry[12]) | (static_cast<unsigned char>(entry[13]) << 8);
        ResourceData icon = ReadResource(Output(), RT_ICON, MAKEINTRESOURCEW(id));
        EXPECT_TRUE(icon.found) << id;
        EXPECT_EQ(images[i], icon.bytes) << i;
        iconNames.push_back(L"#" + std::to_wstring(id));
    }
    EXPECT_EQ(Sorted(iconNames), Sorted(ResourceNames(Output(), RT_ICON)));

    EXPECT_EQ(L"1.2.3.4", FixedFileVersion(Output()));
    EXPECT_EQ(L"1.2.3.4", FixedProductVersion(Output()));
    EXPECT_EQ(L"1.2.3.4", VersionString(Output(), L"FileVersion"));
    EXPECT_EQ(L"1.2.3.4", VersionString(Output(), L"ProductVersion"));
    EXPECT_EQ(L"My App \x00C9", VersionString(Output(), L"ProductName"));
    EXPECT_EQ(L"My App \x00C9", VersionString(Output(), L"FileDescription"));
    EXPECT_EQ(L"Example Ltd", VersionString(Output(), L"CompanyName"));
    EXPECT_EQ(L"(c) 2026 Example Ltd", VersionString(Output(), L"LegalCopyright"));
    EXPECT_EQ(L"MyApp.exe", VersionString(Output(), L"OriginalFilename"));
    EXPECT_EQ(L"MyApp", VersionString(Output(), L"InternalName"));

    ResourceData settings = ReadResource(Output(), RT_RCDATA, JL_EMBEDDED_SETTINGS_NAME);
    ASSERT_TRUE(settings.found);
    EXPECT_EQ(Utf16Bytes(kSettingsText), settings.bytes);

    // The launcher's own resources stay.
    EXPECT_TRUE(ReadResource(Output(), RT_DIALOG, MAKEINTRESOURCEW(IDD_RUNTIME_NOT_FOUND)).found);
    EXPECT_EQ(ReadResource(Launcher(), RT_MANIFEST, MAKEINTRESOURCEW(1)).bytes,
              ReadResource(Output(), RT_MANIFEST, MAKEINTRESOURCEW(1)).bytes);
}

// Branding a branded copy again replaces what is given again; the company
// and copyright given before stay unless replaced.
TEST_F(BrandFixture, BrandingAgainReplacesEverything)
{
    std::wstring error;
    ASSERT_TRUE(BrandLauncher(Options(), error)) << Narrow(error);
    ASSERT_TRUE(WriteBytes(Icon(), IconFile({{32, BitmapImage(32, 'k')}})));
    ASSERT_TRUE(WriteBytes(Settings(), "[Application]\nName=2\n"));
    BrandOptions again = Options();
    again.launcher = Output();
    again.output = In(L"Second.exe");
    again.version = L"2.0.0.0";
    again.company.clear();
    again.copyright = L"(c) 2027 Other";
    ASSERT_TRUE(BrandLauncher(again, error)) << Narrow(error);

    EXPECT_EQ(Names{L"#1"}, ResourceNames(again.output, RT_GROUP_ICON));
    EXPECT_EQ(Names{L"#1"}, ResourceNames(again.output, RT_ICON));
    EXPECT_EQ(BitmapImage(32, 'k'), ReadResource(again.output, RT_ICON, MAKEINTRESOURCEW(1)).bytes);
    EXPECT_EQ(L"2.0.0.0", FixedFileVersion(again.output));
    EXPECT_EQ(L"Example Ltd", VersionString(again.output, L"CompanyName"));
    EXPECT_EQ(L"(c) 2027 Other", VersionString(again.output, L"LegalCopyright"));
    EXPECT_EQ(Utf16Bytes(L"\xFEFF[Application]\r\nName=2\r\n"),
              ReadResource(again.output, RT_RCDATA, JL_EMBEDDED_SETTINGS_NAME).bytes);
}

TEST_F(BrandFixture, WithoutIconOrSettingsTheLaunchersStay)
{
    BrandOptions options = Options();
    options.icon.clear();
    options.settings.clear();
    std::wstring error;
    ASSERT_TRUE(BrandLauncher(options, error)) << Narrow(error);
    EXPECT_EQ(ReadResource(Launcher(), RT_GROUP_ICON, MAKEINTRESOURCEW(1)).bytes,
              ReadResource(Output(), RT_GROUP_ICON, MAKEINTRESOURCEW(1)).bytes);
    EXPECT_FALSE(ReadResource(Output(), RT_RCDATA, JL_EMBEDDED_SETTINGS_NAME).found);
    EXPECT_EQ(L"My App \x00C9", VersionString(Output(), L"ProductName"));
}

TEST_F(BrandFixture, RefusedInputsLeaveNoOutput)
{
    const std::wstring bare = BuildDir() + L"\\bare\\bare.exe";
    const std::string icon = IconFile({{16, BitmapImage(16, 'i')}});
    struct Row {
        const char* what;
        std::wstring BrandOptions::*field;
        std::wstring value;
        std::string fileContent;  // written to value when not empty
        const wchar_t* message;
    } rows[] = {
        {"text as icon", &BrandOptions::icon, In(L"text.ico"), "not an icon", L"text.ico is not a usable icon"},
        {"truncated icon", &BrandOptions::icon, In(L"cut.ico"), icon.substr(0, icon.size() - 10), L"lies outside the file"},
        {"missing icon", &BrandOptions::icon, In(L"none.ico"), "", L"cannot open"},
        {"three numbers", &BrandOptions::version, L"1.2.3", "", L"is not four numbers"},
        {"number too large", &BrandOptions::version, L"1.2.3.65536", "", L"from 0 to 65535"},
        {"binary INI", &BrandOptions::settings, In(L"bin.ini"), std::string("[A]\0\x01\x02", 6), L"bin.ini cannot be embedded"},
        {"missing INI", &BrandOptions::settings, In(L"none.ini"), "", L"cannot open"},
        {"some other program", &BrandOptions::launcher, bare, "", L"is not a jlaunch launcher"},
        {"not an executable", &BrandOptions::launcher, In(L"fake.exe"), "MZ but nothing else", L"is not a Windows executable"},
        {"missing launcher", &BrandOptions::launcher, In(L"none.exe"), "", L"cannot open"},
        {"name too long", &BrandOptions::name, std::wstring(1025, L'n'), "", L"--name is longer than 1024"},
        {"output name too long", &BrandOptions::output, In(L"x") + std::wstring(1024, L'o'), "", L"file name is longer"},
        {"output in a missing folder", &BrandOptions::output, In(L"none\\MyApp.exe"), "", L"cannot create a file in"},
    };
    for (const Row& row : rows) {
        if (!row.fileContent.empty())
            ASSERT_TRUE(WriteBytes(row.value, row.fileContent));
        Names before = Sorted(FilesIn(m_folder.Path()));
        BrandOptions options = Options();
        options.*row.field = row.value;
        std::wstring error;
        EXPECT_FALSE(BrandLauncher(options, error)) << row.what;
        EXPECT_NE(std::wstring::npos, error.find(row.message)) << row.what << ": " << Narrow(error);
        EXPECT_FALSE(FileExists(Output())) << row.what;
        EXPECT_EQ(before, Sorted(FilesIn(m_folder.Path()))) << row.what;
    }
}

TEST_F(BrandFixture, RefusalKeepsAnEarlierOutputWhole)
{
    ASSERT_TRUE(WriteBytes(Output(), "an earlier build"));
    BrandOptions options = Options();
    options.version = L"1.2.3.x";
    std::wstring error;
    EXPECT_FALSE(BrandLauncher(options, error));
    EXPECT_EQ("an earlier build", ReadBytes(Output()));

    // And a good run replaces it whole.
    ASSERT_TRUE(BrandLauncher(Options(), error)) << Narrow(error);
    EXPECT_EQ(L"1.2.3.4", FixedFileVersion(Output()));
}

TEST_F(BrandFixture, ToolReportsOnStderrWithExitCodes)
{
    const std::wstring common = L"launcher.exe MyApp.exe --name \"My App\" --icon app.ico --settings defaults.ini";
    ToolRun refused = RunBrandTool(common + L" --version 1.2.3", m_folder.Path());
    EXPECT_EQ(1u, refused.exitCode);
    EXPECT_NE(std::string::npos, refused.errors.find("jlaunch-brand: --version \"1.2.3\" is not four numbers"))
        << refused.errors;
    EXPECT_FALSE(FileExists(Output()));

    ToolRun usage = RunBrandTool(L"launcher.exe MyApp.exe --version 1.2.3.4", m_folder.Path());
    EXPECT_EQ(2u, usage.exitCode);
    EXPECT_NE(std::string::npos, usage.errors.find("--name is required")) << usage.errors;
    EXPECT_NE(std::string::npos, usage.errors.find("usage: jlaunch-brand")) << usage.errors;

    ToolRun done = RunBrandTool(common + L" --version 3.2.1.0", m_folder.Path());
    EXPECT_EQ(0u, done.exitCode) << done.errors;
    EXPECT_EQ(L"3.2.1.0", FixedFileVersion(Output()));
    EXPECT_EQ(L"My App", VersionString(Output(), L"ProductName"));
}

TEST_F(BrandFixture, BrandsTheOtherArchitecturesLauncher)
{
    const std::wstring peer = PeerBuildDir();
    const std::wstring other = peer + (sizeof(void*) == 8 ? L"\\bin\\launcher.exe" : L"\\bin\\launcher64.exe");
    if (peer.empty() || !FileExists(other))
        GTEST_SKIP() << "no launcher of the other architecture";
    BrandOptions options = Options();
    options.launcher = other;
    std::wstring error;
    ASSERT_TRUE(BrandLauncher(options, error)) << Narrow(error);
    EXPECT_EQ(L"1.2.3.4", FixedFileVersion(Output()));
    EXPECT_EQ(L"My App \x00C9", VersionString(Output(), L"ProductName"));
    EXPECT_EQ(Utf16Bytes(kSettingsText), ReadResource(Output(), RT_RCDATA, JL_EMBEDDED_SETTINGS_NAME).bytes);
    EXPECT_EQ(PngImage(48, 'j'), ReadResource(Output(), RT_ICON, MAKEINTRESOURCEW(2)).bytes);
}
