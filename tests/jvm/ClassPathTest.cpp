#include "core/LauncherApp.h"
#include "jvm/HostTestSupport.h"
#include "jvm/TestText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Elements = std::vector<std::wstring>;

// The elements of a class path text. None may be empty, and the text may
// not end with ";": the runtime reads an empty element as the current folder.
Elements ElementsOf(const std::wstring& classPath)
{
    Elements result;
    if (classPath.empty())
        return result;
    size_t start = 0;
    for (;;) {
        size_t end = classPath.find(L';', start);
        result.push_back(classPath.substr(start, end == std::wstring::npos ? end : end - start));
        EXPECT_FALSE(result.back().empty()) << "empty element in " << classPath;
        if (end == std::wstring::npos)
            return result;
        start = end + 1;
    }
}

Elements Sorted(Elements e)
{
    std::sort(e.begin(), e.end());
    return e;
}

class ClassPathTest : public ::testing::Test {
protected:
    // Relative items resolve against the test program's folder.
    TempFolder app{L"jvmtest_", ExeFolder()};
    std::wstring name = app.Path().substr(app.Path().rfind(L'\\') + 1);
    LauncherApp launcher;

    Elements Build(const std::wstring& setting) { return ElementsOf(Std(launcher.BuildClassPath(String(setting.c_str())))); }
};

}  // namespace

TEST_F(ClassPathTest, RelativeAbsoluteAndMissingItems)
{
    WriteBytes(app / L"lib\\a.jar", "PK");
    Elements got = Build(name + L"\\lib\\a.jar;C:\\x\\missing.jar;" + name + L"\\missing.jar;missing.jar");
    EXPECT_EQ((Elements{app.Path() + L"\\lib\\a.jar", L"C:\\x\\missing.jar"}), got);
}

TEST_F(ClassPathTest, WildcardsExpandToEachMatch)
{
    WriteBytes(app / L"lib\\a.jar", "PK");
    WriteBytes(app / L"lib\\b.jar", "PK");
    WriteBytes(app / L"lib\\notes.txt", "PK");
    MakeDirs(app / L"lib\\classes");
    std::wstring lib = app.Path() + L"\\lib\\";

    EXPECT_EQ((Elements{lib + L"a.jar", lib + L"b.jar"}), Sorted(Build(name + L"\\lib\\*.jar")));
    // "*" alone: files and folders alike, without the "." and ".." entries.
    EXPECT_EQ((Elements{lib + L"a.jar", lib + L"b.jar", lib + L"classes", lib + L"notes.txt"}),
              Sorted(Build(name + L"\\lib\\*")));
    // An absolute pattern is searched as written.
    EXPECT_EQ((Elements{lib + L"a.jar", lib + L"b.jar"}), Sorted(Build(lib + L"*.jar")));
    // No match, no element.
    EXPECT_EQ(Elements{}, Build(name + L"\\lib\\*.zip"));
}

TEST_F(ClassPathTest, OrderFollowsTheSettingAndEmptyItemsGiveNothing)
{
    WriteBytes(app / L"one.jar", "PK");
    WriteBytes(app / L"two.jar", "PK");
    Elements got = Build(name + L"\\two.jar;;" + name + L"\\one.jar;D:\\abs.jar;");
    EXPECT_EQ((Elements{app.Path() + L"\\two.jar", app.Path() + L"\\one.jar", L"D:\\abs.jar"}), got);
    EXPECT_EQ(Elements{}, Build(L""));
    EXPECT_EQ(Elements{}, Build(L";;;"));
}

TEST_F(ClassPathTest, EnvironmentReferencesAreExpandedBeforeClassifying)
{
    WriteBytes(app / L"lib\\a.jar", "PK");
    ScopedVariable appDir(L"JL_TEST_APPDIR", app.Path().c_str());
    ScopedVariable relative(L"JL_TEST_RELDIR", name.c_str());
    ScopedVariable unset(L"JL_TEST_UNSET", nullptr);
    Elements got = Build(L"%JL_TEST_APPDIR%\\lib\\a.jar;%JL_TEST_RELDIR%\\lib\\*.jar;%JL_TEST_UNSET%\\a.jar;"
                         L"%JL_TEST_APPDIR%\\lib\\later.jar");
    EXPECT_EQ((Elements{app.Path() + L"\\lib\\a.jar", app.Path() + L"\\lib\\a.jar", app.Path() + L"\\lib\\later.jar"}),
              got);
}

TEST_F(ClassPathTest, NetworkFormIsAbsolute)
{
    EXPECT_EQ((Elements{L"\\\\server\\share\\c.jar"}), Build(L"\\\\server\\share\\c.jar"));
}

TEST_F(ClassPathTest, ThousandsOfJarsInOneFolder)
{
    for (int i = 0; i < 2000; ++i)
        WriteBytes(app / (L"many\\lib" + std::to_wstring(i) + L".jar"), "PK");
    Elements got = Build(name + L"\\many\\*.jar");
    ASSERT_EQ(2000u, got.size());
    for (const std::wstring& element : got)
        ASSERT_EQ(0u, element.find(app.Path() + L"\\many\\lib")) << element;
}
