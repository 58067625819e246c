#include "base/PathText.h"
#include "base/Paths.h"

#include "support/common/TestFiles.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <string>
#include <vector>

namespace {

std::wstring W(const String& s) { return std::wstring(s.CStr(), s.Length()); }
bool ShellUnc(const wchar_t* path) { return PathIsUNCW(path) != FALSE; }

std::vector<std::wstring> Parts(const std::wstring& path)
{
    std::vector<std::wstring> result;
    for (const String& part : SplitPath(String(path.c_str(), static_cast<int>(path.size()))))
        result.push_back(W(part));
    return result;
}

// A path of exactly length characters inside folder: folder\ then a chain of
// components of at most 100 characters, ending in the file name.
std::wstring PathOfLength(const std::wstring& folder, size_t length)
{
    std::wstring path = folder;
    while (path.size() + 1 < length) {
        size_t room = length - path.size() - 1;
        size_t part = room > 100 ? 100 : room;
        // Leave at least two characters for a last component.
        if (room > 100 && room - 100 < 3)
            part = room - 3;
        path += L"\\" + std::wstring(part, L'n');
    }
    return path;
}

// An empty file at file, with its folders (paths of any length).
void CreateFoldersFor(const std::wstring& file)
{
    WriteBytes(file, std::string());
}

}  // namespace

TEST(PathTextTest, ExtendedLengthForm)
{
    std::wstring local259 = L"C:\\" + std::wstring(256, L'a');
    std::wstring local260 = local259 + L"b";
    std::wstring unc300 = L"\\\\srv\\share\\" + std::wstring(288, L'u');
    std::wstring relative300(300, L'r');
    std::wstring prefixed300 = L"\\\\?\\C:\\" + std::wstring(293, L'p');
    std::wstring prefixedUnc300 = L"\\\\?\\UNC\\srv\\s\\" + std::wstring(286, L'q');
    std::wstring longest = L"C:\\" + std::wstring(32763, L'z');
    struct Case {
        std::wstring path;
        std::wstring expected;
    } cases[] = {
        {L"", L""},
        {L"C:\\short.ini", L"C:\\short.ini"},
        {L"\\\\srv\\share\\x", L"\\\\srv\\share\\x"},
        {local259, local259},
        {local260, L"\\\\?\\" + local260},
        {unc300, L"\\\\?\\UNC\\" + unc300.substr(2)},
        {relative300, L"\\\\?\\" + relative300},
        {prefixed300, prefixed300},
        {prefixedUnc300, prefixedUnc300},
        {longest, L"\\\\?\\" + longest},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.substr(0, 40) + L"... " + std::to_wstring(c.path.size()));
        String result(L"untouched");
        ASSERT_TRUE(MakeExtendedLengthForm(String(c.path.c_str()), ShellUnc, result));
        EXPECT_EQ(c.expected, W(result));
    }

    ASSERT_EQ(32766u, longest.size());
    String result(L"untouched");
    EXPECT_FALSE(MakeExtendedLengthForm(String((longest + L"z").c_str()), ShellUnc, result));
    EXPECT_EQ(L"untouched", W(result));
}

TEST(PathTextTest, LongPrefixIsExact)
{
    EXPECT_TRUE(HasLongPrefix(String(L"\\\\?\\C:\\x")));
    EXPECT_TRUE(HasLongPrefix(String(L"\\\\?\\UNC\\s\\x")));
    EXPECT_FALSE(HasLongPrefix(String(L"\\\\.\\C:\\x")));
    EXPECT_FALSE(HasLongPrefix(String(L"//?/C:/x")));
    EXPECT_FALSE(HasLongPrefix(String(L"\\\\?")));
    EXPECT_FALSE(HasLongPrefix(String()));
}

TEST(PathTextTest, SplitPathIntoRootAndComponents)
{
    using V = std::vector<std::wstring>;
    struct Case {
        const wchar_t* path;
        V expected;
    } cases[] = {
        {L"C:\\a\\b\\f.txt", {L"C:", L"a", L"b", L"f.txt"}},
        {L"\\\\srv\\share\\a\\f.txt", {L"\\\\srv", L"share", L"a", L"f.txt"}},
        {L"\\\\?\\C:\\a\\f.txt", {L"\\\\?\\C:", L"a", L"f.txt"}},
        {L"\\\\?\\UNC\\srv\\share\\f.txt", {L"\\\\?\\UNC\\srv", L"share", L"f.txt"}},
        {L"a\\b\\f.txt", {L"a", L"b", L"f.txt"}},
        {L"\\a\\f.txt", {L"a", L"f.txt"}},
        {L"f.txt", {L"f.txt"}},
        {L"C:", {L"C:"}},
        {L"C:\\", {L"C:"}},
        {L"C:\\a\\\\b\\", {L"C:", L"a", L"", L"b"}},
        {L"\\\\srv", {L"\\\\srv"}},
        {L"\\\\", {L"\\\\"}},
        {L"\\\\?\\", {L"\\\\?\\"}},
        {L"\\\\?\\UNC\\", {L"\\\\?\\UNC\\"}},
        // Only a leading \\?\UNC\ counts; further along it is just text.
        {L"\\\\?\\C:\\\\\\?\\UNC\\x", {L"\\\\?\\C:", L"", L"", L"?", L"UNC", L"x"}},
        {L"", {}},
        {L"\\", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.expected, Parts(c.path));
    }
}

TEST(PathTextTest, FolderPartEndsBeforeTheLaterSeparator)
{
    struct Case {
        const wchar_t* fullPath;
        const wchar_t* expected;
    } cases[] = {
        {L"C:\\dir\\file.txt", L"C:\\dir"},
        {L"C:\\dir/sub\\file.txt", L"C:\\dir/sub"},
        {L"C:\\dir\\sub/file.txt", L"C:\\dir\\sub"},
        {L"C:/dir/file.txt", L"C:/dir"},
        {L"C:\\file.txt", L"C:"},
        {L"\\\\?\\C:\\a/b", L"\\\\?\\C:\\a"},
        {L"nofolder", L"nofolder"},
        {L"\\", L""},
        {L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fullPath);
        String path(c.fullPath);
        CutToFolderPart(path);
        EXPECT_EQ(std::wstring(c.expected), W(path));
    }
}

class PathsTest : public ::testing::Test {
protected:
    TempFolder temp;
};

TEST_F(PathsTest, FileFinderFindsTheFirstMatchAndItsFolder)
{
    WriteBytes(temp / L"settings.ini", std::string());
    FileFinder finder;
    EXPECT_FALSE(finder.Found());
    EXPECT_TRUE(finder.Root().IsEmpty());

    ASSERT_TRUE(finder.FindFirst((temp / L"settings.ini").c_str()));
    EXPECT_TRUE(finder.Found());
    EXPECT_STREQ(L"settings.ini", finder.FindData().cFileName);
    EXPECT_EQ(temp.Path(), W(finder.Root()));

    ASSERT_TRUE(finder.FindFirst(String((temp / L"*.ini").c_str())));
    EXPECT_STREQ(L"settings.ini", finder.FindData().cFileName);

    finder.Close();
    EXPECT_FALSE(finder.Found());

    SetLastError(0);
    EXPECT_FALSE(finder.FindFirst((temp / L"missing.ini").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
    EXPECT_FALSE(finder.Found());
}

TEST_F(PathsTest, FileFinderWithoutNameSearchesTheCurrentFolder)
{
    CreateDirectoryW((temp / L"sub").c_str(), nullptr);
    WriteBytes(temp / L"sub\\only.txt", std::string());
    CurrentFolderScope here(temp / L"sub");
    FileFinder finder;
    ASSERT_TRUE(finder.FindFirst(nullptr));
    EXPECT_EQ(temp / L"sub", W(finder.Root()));

    // A relative name with a forward slash: the root is cut at the last
    // separator of the full path.
    CurrentFolderScope parent(temp.Path());
    ASSERT_TRUE(finder.FindFirst(L"sub/only.txt"));
    EXPECT_STREQ(L"only.txt", finder.FindData().cFileName);
    EXPECT_EQ(temp / L"sub", W(finder.Root()));
}

TEST_F(PathsTest, FileFinderPutsLongNamesIntoExtendedForm)
{
    std::wstring at259 = PathOfLength(temp.Path(), 259);
    std::wstring at260 = PathOfLength(temp.Path(), 260);
    std::wstring at400 = PathOfLength(temp.Path(), 400);
    ASSERT_EQ(259u, at259.size());
    ASSERT_EQ(260u, at260.size());
    for (const std::wstring& path : {at259, at260, at400})
        CreateFoldersFor(path);

    FileFinder finder;
    ASSERT_TRUE(finder.FindFirst(at259.c_str()));
    EXPECT_EQ(at259.substr(0, at259.rfind(L'\\')), W(finder.Root()));

    ASSERT_TRUE(finder.FindFirst(at260.c_str()));
    EXPECT_EQ(L"\\\\?\\" + at260.substr(0, at260.rfind(L'\\')), W(finder.Root()));

    ASSERT_TRUE(finder.FindFirst(at400.c_str()));
    EXPECT_EQ(L"\\\\?\\" + at400.substr(0, at400.rfind(L'\\')), W(finder.Root()));

    // Already prefixed: searched as given.
    ASSERT_TRUE(finder.FindFirst((L"\\\\?\\" + at400).c_str()));
    EXPECT_EQ(L"\\\\?\\" + at400.substr(0, at400.rfind(L'\\')), W(finder.Root()));
}

TEST_F(PathsTest, FileFinderCannotFindLongRelativeNames)
{
    // The prefix goes onto the relative name as it is, which no longer means
    // "relative to the current folder".
    std::wstring full = PathOfLength(temp.Path(), temp.Path().size() + 301);
    CreateFoldersFor(full);
    ASSERT_TRUE(FileExists(full));
    std::wstring relative = full.substr(temp.Path().size() + 1);
    ASSERT_EQ(300u, relative.size());

    CurrentFolderScope here(temp.Path());
    FileFinder finder;
    EXPECT_FALSE(finder.FindFirst(relative.c_str()));
    EXPECT_FALSE(finder.Found());
}

TEST_F(PathsTest, FileFinderRefusesTheLengthLimitWithoutSearching)
{
    std::wstring tooLong = temp.Path() + L"\\" + std::wstring(32767 - temp.Path().size() - 1, L'x');
    ASSERT_EQ(32767u, tooLong.size());
    FileFinder finder;
    WriteBytes(temp / L"a.txt", std::string());
    ASSERT_TRUE(finder.FindFirst((temp / L"a.txt").c_str()));
    SetLastError(0xBEEF);
    EXPECT_FALSE(finder.FindFirst(tooLong.c_str()));
    EXPECT_EQ(0xBEEFu, GetLastError());
    EXPECT_FALSE(finder.Found());
}

TEST_F(PathsTest, AbsolutePathExists)
{
    WriteBytes(temp / L"f.txt", std::string());
    CurrentFolderScope here(temp.Path());
    EXPECT_TRUE(AbsolutePathExists(String((temp / L"f.txt").c_str())));
    EXPECT_TRUE(AbsolutePathExists(String(temp.Path().c_str())));
    EXPECT_FALSE(AbsolutePathExists(String((temp / L"g.txt").c_str())));
    // Relative names never count, even when they exist.
    EXPECT_FALSE(AbsolutePathExists(String(L"f.txt")));
    EXPECT_FALSE(AbsolutePathExists(String(L".\\f.txt")));
    EXPECT_FALSE(AbsolutePathExists(String(L"x")));
    EXPECT_FALSE(AbsolutePathExists(String()));
    // A drive root counts only as far as the search itself says so.
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(L"C:\\", &data);
    bool searchFindsRoot = find != INVALID_HANDLE_VALUE;
    if (searchFindsRoot)
        FindClose(find);
    EXPECT_EQ(searchFindsRoot, AbsolutePathExists(String(L"C:\\")));
}

TEST_F(PathsTest, CreateParentDirectoriesMakesTheWholeChain)
{
    std::wstring file = temp / L"a\\b\\c\\f.txt";
    EXPECT_EQ(0u, CreateParentDirectories(String(file.c_str())));
    EXPECT_TRUE(FolderExists(temp / L"a"));
    EXPECT_TRUE(FolderExists(temp / L"a\\b"));
    EXPECT_TRUE(FolderExists(temp / L"a\\b\\c"));
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(FolderExists(file));

    // Existing folders are no failure; neither is an existing file.
    EXPECT_EQ(0u, CreateParentDirectories(String(file.c_str())));
    EXPECT_EQ(0u, CreateParentDirectories(String((temp / L"a\\b\\x\\y\\g.txt").c_str())));
    EXPECT_TRUE(FolderExists(temp / L"a\\b\\x\\y"));
    WriteBytes(file, std::string());
    EXPECT_EQ(0u, CreateParentDirectories(String(file.c_str())));
}

TEST_F(PathsTest, CreateParentDirectoriesOfPathsWithoutFolders)
{
    CurrentFolderScope here(temp.Path());
    for (const wchar_t* path : {L"", L"\\", L"f.txt", L"\\f.txt"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(0u, CreateParentDirectories(String(path)));
    }
    // A path from the drive's root must not grow folders in the current
    // folder, even when its first component happens to exist there.
    std::wstring name = L"jl_rootrel_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW((temp / name).c_str(), nullptr);
    EXPECT_EQ(0u, CreateParentDirectories(String((L"\\" + name + L"\\sub\\f.txt").c_str())));
    EXPECT_FALSE(FolderExists(temp / (name + L"\\sub")));
    EXPECT_FALSE(FolderExists(L"\\" + name + L"\\sub"));

    // Nothing was created in the current folder.
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((temp / L"*").c_str(), &data);
    int entries = 0;
    do
        entries += (wcscmp(data.cFileName, L".") && wcscmp(data.cFileName, L"..")) ? 1 : 0;
    while (FindNextFileW(find, &data));
    FindClose(find);
    EXPECT_EQ(1, entries);
}

TEST_F(PathsTest, CreateParentDirectoriesRollsBackTheFolderAboveAFailure)
{
    // "bad?name" cannot be a folder name, so the chain breaks below "made".
    std::wstring file = temp / L"made\\bad?name\\f.txt";
    DWORD result = CreateParentDirectories(String(file.c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_NAME), result);
    EXPECT_FALSE(FolderExists(temp / L"made"));
    EXPECT_TRUE(FolderExists(temp.Path()));

    // Deeper: only the folder just above the failing one goes.
    result = CreateParentDirectories(String((temp / L"one\\two\\bad|name\\f.txt").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_NAME), result);
    EXPECT_TRUE(FolderExists(temp / L"one"));
    EXPECT_FALSE(FolderExists(temp / L"one\\two"));
}

TEST_F(PathsTest, CreateParentDirectoriesRollsBackOnPrefixedPathsToo)
{
    // A prefixed local path is no network path: its failures stop the loop
    // and roll back like any other.
    std::wstring deep = PathOfLength(temp.Path(), 300);
    std::wstring prefixed = L"\\\\?\\" + deep + L"\\made\\bad?name\\f.txt";
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_NAME), CreateParentDirectories(String(prefixed.c_str())));
    EXPECT_TRUE(FolderExists(deep));
    EXPECT_FALSE(FolderExists(deep + L"\\made"));
}

TEST_F(PathsTest, CreateParentDirectoriesKeepsFoldersThatWereThereBefore)
{
    CreateDirectoryW((temp / L"existing").c_str(), nullptr);
    DWORD result = CreateParentDirectories(String((temp / L"existing\\bad*name\\f.txt").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_NAME), result);
    EXPECT_TRUE(FolderExists(temp / L"existing"));
}

TEST_F(PathsTest, CreateParentDirectoriesUnderAFileFails)
{
    WriteBytes(temp / L"plain.txt", std::string());
    DWORD result = CreateParentDirectories(String((temp / L"plain.txt\\sub\\f.txt").c_str()));
    EXPECT_NE(0u, result);
    EXPECT_NE(static_cast<DWORD>(ERROR_ALREADY_EXISTS), result);
    EXPECT_TRUE(FileExists(temp / L"plain.txt"));
}

TEST_F(PathsTest, CreateParentDirectoriesBeyondTheClassicLimitWithPrefix)
{
    std::wstring file = PathOfLength(temp.Path(), 420);
    std::wstring prefixed = L"\\\\?\\" + file;
    EXPECT_EQ(0u, CreateParentDirectories(String(prefixed.c_str())));
    std::wstring folder = prefixed.substr(0, prefixed.rfind(L'\\'));
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_FALSE(FileExists(prefixed));
}

TEST_F(PathsTest, RemoveDirectoryLong)
{
    std::wstring at259 = PathOfLength(temp.Path(), 259);
    std::wstring at300 = PathOfLength(temp.Path(), 300);
    CreateFoldersFor(at259 + L"\\x");
    CreateFoldersFor(at300 + L"\\x");
    DeleteFileW((L"\\\\?\\" + at259 + L"\\x").c_str());
    DeleteFileW((L"\\\\?\\" + at300 + L"\\x").c_str());

    EXPECT_TRUE(RemoveDirectoryLong(String(at259.c_str())));
    EXPECT_FALSE(FolderExists(at259));
    EXPECT_TRUE(RemoveDirectoryLong(String(at300.c_str())));
    EXPECT_FALSE(FolderExists(at300));
    EXPECT_FALSE(RemoveDirectoryLong(String(at300.c_str())));

    // Folders that are not empty stay.
    CreateFoldersFor(temp / L"full\\f.txt");
    EXPECT_FALSE(RemoveDirectoryLong(String((temp / L"full").c_str())));
    EXPECT_TRUE(FolderExists(temp / L"full"));
}
