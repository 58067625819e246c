// Writing one settings value so that a file is either updated or left as it was.

#include "settings/JrePathWriter.h"
#include "support/common/TestFiles.h"

#include <gtest/gtest.h>

namespace {

std::wstring ReadKey(const std::wstring& file)
{
    wchar_t value[256] = {};
    GetPrivateProfileStringW(L"S", L"K", L"<none>", value, 256, file.c_str());
    return value;
}

size_t EntriesIn(const std::wstring& folder)
{
    size_t count = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        count += data.cFileName[0] != L'.';
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}

TEST(JrePathWriter, WritesOrLeavesTheFileAsItWas)
{
    TempFolder folder(L"jl-write-");
    const std::string old = "[S]\r\nK=old\r\n[T]\r\nX=1\r\n";
    enum Setup { None, Old, ReadOnly, Folder };
    struct Case {
        const char* name;
        const wchar_t* relative;
        Setup setup;
        bool parentExists;
        bool createFolders;
        bool written;
    } cases[] = {
        {"new file", L"a\\new.ini", None, true, false, true},
        {"existing file", L"b\\old.ini", Old, true, false, true},
        {"read-only file", L"c\\locked.ini", ReadOnly, true, false, false},
        {"folder in its place", L"d\\dir.ini", Folder, true, false, false},
        {"missing folders not made", L"e\\f\\g.ini", None, false, false, false},
        {"missing folders made", L"h\\i\\j.ini", None, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring path = folder / c.relative;
        std::wstring parent = path.substr(0, path.rfind(L'\\'));
        if (c.parentExists)
            MakeDirs(parent);
        if (c.setup == Old || c.setup == ReadOnly)
            WriteBytes(path, old);
        if (c.setup == ReadOnly)
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
        if (c.setup == Folder)
            MakeDirs(path);

        bool written = WriteSettingSafely(String(path.c_str()), L"S", L"K", String(L"C:\\new\\"),
                                          c.createFolders) == SettingWrite::Written;
        EXPECT_EQ(written, c.written);
        if (c.written) {
            EXPECT_EQ(ReadKey(path), L"C:\\new\\");
        } else if (c.setup == ReadOnly) {
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            EXPECT_EQ(ReadBytes(path), old);
        } else if (c.setup == None) {
            EXPECT_FALSE(Exists(parent));
        }
        if (c.setup == Old) {
            wchar_t value[16] = {};
            GetPrivateProfileStringW(L"T", L"X", L"", value, 16, path.c_str());
            EXPECT_STREQ(value, L"1");
        }
        // No copy is left behind beside the file.
        if (Exists(parent)) {
            EXPECT_EQ(EntriesIn(parent), 1u);
        }
    }
}

// The value comes back from the file as it was given, whatever the file's
// encoding: a new file is UTF-16, and an 8-bit file that cannot hold the
// value is refused rather than given "?" in its place.
TEST(JrePathWriter, AFolderNameReadsBackEqualOrIsRefused)
{
    TempFolder folder(L"jl-write-");
    const std::wstring cyrillic = L"C:\\Users\\\x0414\x043c\x0438\x0442\x0440\x0438\x0439\\jdk17\\";
    const std::string ansiFile = "[S]\r\nK=old\r\n";
    const std::string utf16File("\xFF\xFE[\0S\0]\0\r\0\n\0", 12);
    enum Setup { None, Ansi, Utf16 };
    struct Case {
        const char* name;
        Setup setup;
        std::wstring value;
        SettingWrite result;
    } cases[] = {
        {"new file, Cyrillic folder", None, cyrillic, SettingWrite::Written},
        {"UTF-16 file, Cyrillic folder", Utf16, cyrillic, SettingWrite::Written},
        {"ANSI file, plain folder", Ansi, L"C:\\jdk17\\", SettingWrite::Written},
        {"ANSI file, Cyrillic folder", Ansi, cyrillic, SettingWrite::NotRepresentable},
    };
    // The premise: the code page of 8-bit files has no Cyrillic letters.
    char ansi[64] = {};
    BOOL lost = FALSE;
    WideCharToMultiByte(CP_ACP, 0, cyrillic.c_str(), -1, ansi, sizeof(ansi), nullptr, &lost);
    ASSERT_TRUE(lost) << "this test needs an ANSI code page without Cyrillic letters";
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring path = folder / (L"f" + std::to_wstring(index++) + L".ini");
        if (c.setup != None)
            WriteBytes(path, c.setup == Ansi ? ansiFile : utf16File);
        std::string before = ReadBytes(path);
        EXPECT_EQ(WriteSettingSafely(String(path.c_str()), L"S", L"K", String(c.value.c_str()), false), c.result);
        if (c.result == SettingWrite::Written) {
            EXPECT_EQ(ReadKey(path), c.value);
            if (c.setup == None)
                EXPECT_EQ(ReadBytes(path).substr(0, 2), "\xFF\xFE");
        } else {
            EXPECT_EQ(ReadBytes(path), before);
        }
        EXPECT_EQ(EntriesIn(folder.Path()), static_cast<size_t>(index));
    }
}

}  // namespace
