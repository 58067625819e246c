// The shared test helpers, where they would break: paths beyond MAX_PATH,
// read-only files, files still open, failures that must not pass unseen.

#include "support/common/TestFiles.h"

#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

namespace {

// A path of about length characters below folder, in components of 100.
std::wstring Deep(const std::wstring& folder, size_t length)
{
    std::wstring path = folder;
    while (path.size() < length)
        path += L"\\" + std::wstring(100, L'd');
    return path;
}

}  // namespace

TEST(TestFiles, TempFolderIsUniqueAndGoesWithEverythingInIt)
{
    std::wstring first;
    {
        TempFolder folder(L"jl-selftest-");
        TempFolder other(L"jl-selftest-");
        first = folder.Path();
        EXPECT_NE(folder.Path(), other.Path());
        EXPECT_TRUE(FolderExists(folder.Path()));
        EXPECT_NE(std::wstring::npos, folder.Path().find(L"\\jl-selftest-"));
        EXPECT_NE(L'\\', folder.Path().back());
        EXPECT_EQ(folder.Path() + L"\\a\\b", folder / L"a\\b");

        ASSERT_TRUE(WriteBytes(folder / L"ro\\locked.txt", "x"));
        SetFileAttributesW((folder / L"ro\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        SetFileAttributesW((folder / L"ro").c_str(), FILE_ATTRIBUTE_READONLY);
        ASSERT_TRUE(WriteBytes(Deep(folder.Path(), 420) + L"\\deep.txt", "y"));
    }
    EXPECT_FALSE(Exists(first));
}

TEST(TestFiles, TempFolderUnderAGivenParent)
{
    TempFolder parent;
    std::wstring inner;
    {
        TempFolder child(L"kid-", parent.Path());
        inner = child.Path();
        EXPECT_EQ(0u, inner.find(parent.Path() + L"\\kid-"));
        EXPECT_TRUE(FolderExists(inner));
    }
    EXPECT_FALSE(Exists(inner));
    EXPECT_TRUE(FolderExists(parent.Path()));
}

TEST(TestFiles, WriteAndReadBeyondTheClassicLimit)
{
    TempFolder folder;
    std::wstring file = Deep(folder.Path(), 300) + L"\\x\\y\\data.bin";
    ASSERT_GT(file.size(), static_cast<size_t>(MAX_PATH));
    std::string bytes("a\0b\xFF", 4);
    ASSERT_TRUE(WriteBytes(file, bytes));
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FolderExists(file));
    EXPECT_TRUE(FolderExists(file.substr(0, file.rfind(L'\\'))));
    EXPECT_EQ(bytes, ReadBytes(file));
    EXPECT_EQ(bytes, ReadBytes(L"\\\\?\\" + file));

    // Writing again replaces the content.
    ASSERT_TRUE(WriteBytes(file, "z"));
    EXPECT_EQ("z", ReadBytes(file));
    ASSERT_TRUE(WriteBytes(file, std::string()));
    EXPECT_EQ("", ReadBytes(file));
    EXPECT_TRUE(FileExists(file));

    EXPECT_EQ("", ReadBytes(folder / L"missing.bin"));
    EXPECT_FALSE(Exists(folder / L"missing.bin"));
}

TEST(TestFiles, MakeDirsTakesEveryFormOfPath)
{
    TempFolder folder;
    EXPECT_TRUE(MakeDirs(folder / L"a\\b\\c"));
    EXPECT_TRUE(FolderExists(folder / L"a\\b\\c"));
    EXPECT_TRUE(MakeDirs(folder / L"a\\b\\c\\"));  // there already, trailing separator
    EXPECT_TRUE(MakeDirs(folder / L"s/l/a/s/h"));
    EXPECT_TRUE(FolderExists(folder / L"s\\l\\a\\s\\h"));

    std::wstring prefixed = L"\\\\?\\" + Deep(folder.Path(), 400) + L"\\end";
    EXPECT_TRUE(MakeDirs(prefixed));
    EXPECT_TRUE(FolderExists(prefixed));

    CurrentFolderScope here(folder.Path());
    EXPECT_TRUE(MakeDirs(L"rel\\sub"));
    EXPECT_TRUE(FolderExists(folder / L"rel\\sub"));
}

TEST(TestFiles, FailuresAreReported)
{
    TempFolder folder;
    ASSERT_TRUE(WriteBytes(folder / L"file.txt", "x"));
    bool made = true;
    EXPECT_NONFATAL_FAILURE(made = MakeDirs(folder / L"file.txt\\sub"), "cannot create the folder");
    EXPECT_FALSE(made);
    bool written = true;
    EXPECT_NONFATAL_FAILURE(written = WriteBytes(folder / L"file.txt\\sub\\f.txt", "x"), "cannot create");
    EXPECT_FALSE(written);
    EXPECT_NONFATAL_FAILURE(written = WriteBytes(folder / L"bad?name.txt", "x"), "cannot create");
    EXPECT_FALSE(written);
}

TEST(TestFiles, RemoveTreeWaitsForOpenFiles)
{
    TempFolder folder;
    std::wstring tree = folder / L"tree";
    ASSERT_TRUE(WriteBytes(tree + L"\\inner\\held.txt", "x"));
    HANDLE held = CreateFileW((tree + L"\\inner\\held.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(RemoveTree(tree));
    EXPECT_TRUE(FileExists(tree + L"\\inner\\held.txt"));
    CloseHandle(held);
    EXPECT_TRUE(RemoveTree(tree + L"\\"));
    EXPECT_FALSE(Exists(tree));
    // Nothing there: nothing left to do.
    EXPECT_TRUE(RemoveTree(tree));
}

TEST(TestFiles, ScopedVariableRestoresTheEarlierState)
{
    SetEnvironmentVariableW(L"JL_SELFTEST_VAR", L"before");
    SetEnvironmentVariableW(L"JL_SELFTEST_NONE", nullptr);
    {
        ScopedVariable changed(L"JL_SELFTEST_VAR", L"during");
        ScopedVariable removed(L"JL_SELFTEST_VAR", nullptr);
        ScopedVariable added(L"JL_SELFTEST_NONE", L"");
        EXPECT_EQ(0u, GetEnvironmentVariableW(L"JL_SELFTEST_VAR", nullptr, 0));
        EXPECT_EQ(L"", EnvironmentVariable(L"JL_SELFTEST_VAR"));
        EXPECT_NE(0u, GetEnvironmentVariableW(L"JL_SELFTEST_NONE", nullptr, 0)) << "set, though empty";
    }
    EXPECT_EQ(L"before", EnvironmentVariable(L"JL_SELFTEST_VAR"));
    EXPECT_EQ(0u, GetEnvironmentVariableW(L"JL_SELFTEST_NONE", nullptr, 0));
    SetEnvironmentVariableW(L"JL_SELFTEST_VAR", nullptr);
}

TEST(TestFiles, CurrentFolderScopeRestoresTheFolder)
{
    TempFolder folder;
    std::wstring before(MAX_PATH * 4, L'\0');
    before.resize(GetCurrentDirectoryW(static_cast<DWORD>(before.size()), &before[0]));
    {
        CurrentFolderScope here(folder.Path());
        std::wstring now(MAX_PATH * 4, L'\0');
        now.resize(GetCurrentDirectoryW(static_cast<DWORD>(now.size()), &now[0]));
        EXPECT_EQ(0, _wcsicmp(folder.Path().c_str(), now.c_str()));
    }
    std::wstring after(MAX_PATH * 4, L'\0');
    after.resize(GetCurrentDirectoryW(static_cast<DWORD>(after.size()), &after[0]));
    EXPECT_EQ(before, after);
}

TEST(TestFiles, ExeFolderHoldsThisProgram)
{
    std::wstring folder = ExeFolder();
    EXPECT_NE(L'\\', folder.back());
    EXPECT_TRUE(FileExists(folder + L"\\test_files_selftest.exe"));
}
