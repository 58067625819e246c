// What happens after the user answered the runtime-not-found dialog: the
// picked runtime is used at once, and "JRE Path" is remembered in the files
// the settings name, never damaging a file that cannot be written.

#include "SearchFixture.h"
#include "core/LauncherApp.h"
#include "res/resource.h"
#include "runtime/DialogScript.h"
#include "runtime/PeImageView.h"
#include "runtime/RuntimeTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace runtime_test {
namespace {

// This test program's base name: the launcher's own settings files are named after it.
std::wstring ExeBaseName()
{
    wchar_t path[MAX_PATH] = {};
    std::wstring name(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    name = name.substr(name.find_last_of(L"\\/") + 1);
    return name.substr(0, name.rfind(L'.'));
}

std::wstring ReadValue(const std::wstring& file, const wchar_t* section, const wchar_t* key)
{
    wchar_t value[1024] = {};
    GetPrivateProfileStringW(section, key, L"<none>", value, 1024, file.c_str());
    return value;
}

std::wstring JrePathIn(const std::wstring& file)
{
    return ReadValue(file, L"Java Runtime Environment", L"JRE Path");
}

// Names in a folder, for checking that nothing but the settings file was left.
std::vector<std::wstring> FolderEntries(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

class AskForRuntimeTest : public testing::Test {
protected:
    void SetUp() override
    {
        MakeRuntime(m_folder / L"rt", {L"server"});
        SetAppData(m_folder / L"appdata");
        // ":" cannot be part of a folder name and is dropped.
        m_app.m_productName = L"Demo: App";
        m_app.m_productCode = L"2.0";
        ASSERT_FALSE(FileExists(OwnSettingsFile())) << "a settings file beside the test program is in the way";
    }

    void SetAppData(const std::wstring& folder)
    {
        m_appData.reset();
        m_appData.reset(new ScopedVariable(L"APPDATA", folder.c_str()));
        m_appDataFolder = folder;
    }

    // Answers the dialog: browses to folder, then presses button.
    bool Ask(const std::wstring& folder, int button)
    {
        return PickAndPress(folder, button, [&] { return m_app.AskForRuntime(); });
    }

    std::wstring PerUserFolder() const { return m_appDataFolder + L"\\Demo App\\2.0"; }
    std::wstring PerUserFile(const std::wstring& base) const { return PerUserFolder() + L"\\" + base + L".ini"; }
    static std::wstring OwnSettingsFile() { return ExeFolder() + L"\\" + ExeBaseName() + L".ini"; }
    std::wstring Runtime() const { return m_folder / L"rt\\"; }
    std::wstring RuntimeLibrary() const { return Runtime() + L"bin\\server\\jvm.dll"; }

    TempFolder m_folder{L"jl-ask-"};
    std::unique_ptr<ScopedVariable> m_appData;
    std::wstring m_appDataFolder;
    LauncherApp m_app;
};

TEST_F(AskForRuntimeTest, OkUsesThePickedRuntimeAndRemembersItForTheUser)
{
    ASSERT_TRUE(Ask(m_folder / L"rt", IDOK));
    EXPECT_EQ(m_app.m_jvmLibraryPath.CStr(), RuntimeLibrary());
    std::wstring file = PerUserFile(ExeBaseName());
    EXPECT_EQ(JrePathIn(file), Runtime());
    // Nothing but "JRE Path" is written, and only there.
    wchar_t keys[256] = {};
    DWORD length = GetPrivateProfileSectionW(L"Java Runtime Environment", keys, 256, file.c_str());
    EXPECT_EQ(std::wstring(keys, length), L"JRE Path=" + Runtime() + L'\0');  // one key
    EXPECT_EQ(FolderEntries(PerUserFolder()), std::vector<std::wstring>{ExeBaseName() + L".ini"});
    EXPECT_FALSE(FileExists(OwnSettingsFile()));
}

TEST_F(AskForRuntimeTest, ThePairedLaunchersFileRemembersItToo)
{
    m_app.m_pairProduct = (m_folder / L"pair\\pair64.exe").c_str();
    ASSERT_TRUE(Ask(m_folder / L"rt", IDOK));
    EXPECT_EQ(JrePathIn(PerUserFile(ExeBaseName())), Runtime());
    EXPECT_EQ(JrePathIn(PerUserFile(L"pair64")), Runtime());
    EXPECT_FALSE(FileExists(m_folder / L"pair\\pair64.ini"));
}

TEST_F(AskForRuntimeTest, AServiceRemembersItInTheSettingsFiles)
{
    m_app.m_isService = true;
    MakeDirs(m_folder / L"pair");
    m_app.m_pairProduct = (m_folder / L"pair\\pair64.exe").c_str();
    bool asked = Ask(m_folder / L"rt", IDOK);
    std::wstring own = JrePathIn(OwnSettingsFile());
    DeleteFileW(OwnSettingsFile().c_str());
    ASSERT_TRUE(asked);
    EXPECT_EQ(own, Runtime());
    EXPECT_EQ(JrePathIn(m_folder / L"pair\\pair64.ini"), Runtime());
    EXPECT_FALSE(Exists(m_appDataFolder));

    // The folder of the pair's settings file is not made for it.
    m_app.m_pairProduct = (m_folder / L"elsewhere\\pair64.exe").c_str();
    asked = Ask(m_folder / L"rt", IDOK);
    DeleteFileW(OwnSettingsFile().c_str());
    EXPECT_TRUE(asked);
    EXPECT_FALSE(Exists(m_folder / L"elsewhere"));
}

TEST_F(AskForRuntimeTest, CancelEndsWithoutWritingAnything)
{
    m_app.m_pairProduct = (m_folder / L"pair\\pair64.exe").c_str();
    EXPECT_FALSE(Ask(m_folder / L"rt", IDCANCEL));
    EXPECT_TRUE(m_app.m_jvmLibraryPath.IsEmpty());
    EXPECT_FALSE(Exists(m_appDataFolder));
    EXPECT_FALSE(Exists(m_folder / L"pair"));
}

TEST_F(AskForRuntimeTest, MissingFoldersOfThePerUserFileAreMade)
{
    SetAppData(m_folder / L"profile\\Roaming");
    ASSERT_TRUE(Ask(m_folder / L"rt", IDOK));
    EXPECT_EQ(JrePathIn(PerUserFile(ExeBaseName())), Runtime());
}

TEST_F(AskForRuntimeTest, OtherSettingsOfTheFileKeepTheirValues)
{
    MakeDirs(PerUserFolder());
    std::wstring file = PerUserFile(ExeBaseName());
    // UTF-16 with a byte-order mark, as the launcher's own files are written.
    std::wstring text = L"\xFEFF; picked by hand\r\n[Java Runtime Environment]\r\nJRE Path=C:\\old\\\r\n"
                        L"Minimum Version=1.8\r\n[Extra]\r\nKey=\x00E1 value\r\n";
    WriteBytes(file, std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
    ASSERT_TRUE(Ask(m_folder / L"rt", IDOK));
    EXPECT_EQ(JrePathIn(file), Runtime());
    EXPECT_EQ(ReadValue(file, L"Java Runtime Environment", L"Minimum Version"), L"1.8");
    EXPECT_EQ(ReadValue(file, L"Extra", L"Key"), L"\x00E1 value");
    EXPECT_EQ(FolderEntries(PerUserFolder()), std::vector<std::wstring>{ExeBaseName() + L".ini"});
}

TEST_F(AskForRuntimeTest, AFileThatCannotBeWrittenIsLeftAsItWas)
{
    MakeDirs(PerUserFolder());
    std::wstring file = PerUserFile(ExeBaseName());
    const std::string bytes = "[Java Runtime Environment]\r\nJRE Path=C:\\old\\\r\n; keep me\r\n";
    WriteBytes(file, bytes);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    bool asked = Ask(m_folder / L"rt", IDOK);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(asked);
    EXPECT_EQ(m_app.m_jvmLibraryPath.CStr(), RuntimeLibrary());  // the launch goes on with the pick
    EXPECT_EQ(ReadBytes(file), bytes);
    EXPECT_EQ(FolderEntries(PerUserFolder()), std::vector<std::wstring>{ExeBaseName() + L".ini"});

    // A folder where the file should be is no file to write either.
    DeleteFileW(file.c_str());
    MakeDirs(file);
    EXPECT_TRUE(Ask(m_folder / L"rt", IDOK));
    EXPECT_TRUE(FolderExists(file));
}

// The dialog is the search's last source; the architecture check follows it.
class FindRuntimeAsksLast : public SearchFixture {
protected:
    bool FindWithPick(const std::wstring& folder)
    {
        ScopedVariable appData(L"APPDATA", (m_folder / L"appdata").c_str());
        return PickAndPress(folder, IDOK, [&] { return m_app.FindRuntime(); });
    }
};

TEST_F(FindRuntimeAsksLast, APickedRuntimeOfTheOtherMachineGoesToThePair)
{
    const WORD other = kLauncherMachine == IMAGE_FILE_MACHINE_I386 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386;
    MakeHome(L"other", {L"server"}, true, MinimalPeImage(other));
    MakeHome(L"own", {L"server"}, true, MinimalPeImage(kLauncherMachine));
    m_app.m_pairProduct = (m_folder / L"pair.exe").c_str();

    ASSERT_TRUE(FindWithPick(Home(L"other")));
    EXPECT_EQ(Library(), Home(L"other") + L"bin\\server\\jvm.dll");
    EXPECT_TRUE(m_app.m_launchPair);

    ASSERT_TRUE(FindWithPick(Home(L"own")));
    EXPECT_EQ(Library(), Home(L"own") + L"bin\\server\\jvm.dll");
    EXPECT_FALSE(m_app.m_launchPair);
}

}  // namespace
}  // namespace runtime_test
