#include "jvm/ClassDataSharingRules.h"

#include "TestText.h"

#include <gtest/gtest.h>

namespace {

AnsiList Options(std::initializer_list<const char*> texts)
{
    AnsiList list;
    for (const char* text : texts)
        list.Append(AnsiString(text));
    return list;
}

JavaVersion Version(int32_t a, int32_t b = 0)
{
    JavaVersion version;
    version.component[0] = a;
    version.component[1] = b;
    version.count = 2;
    return version;
}

}  // namespace

TEST(ClassDataSharingRules, WhenTheOptionsAreAdded)
{
    struct Row {
        AnsiList options;
        bool versionKnown;
        JavaVersion version;
        ArchiveVerdict expected;
    } rows[] = {
        {Options({"-Djava.class.path=C:\\a.jar"}), true, Version(21), ArchiveVerdict::Add},
        {Options({"-Djava.class.path=C:\\a.jar"}), true, Version(19), ArchiveVerdict::Add},
        {Options({"-Djava.class.path=C:\\a.jar"}), true, Version(17), ArchiveVerdict::RuntimeTooOld},
        {Options({}), true, Version(18, 9), ArchiveVerdict::RuntimeTooOld},
        {Options({}), true, Version(1, 8), ArchiveVerdict::RuntimeTooOld},  // 1.8 is 8, not 1
        {Options({}), false, Version(21), ArchiveVerdict::VersionUnknown},
        // The user's own decision wins, also on a runtime that could not take ours.
        {Options({"-Xmx1g", "-Xshare:off"}), true, Version(21), ArchiveVerdict::UsersOwn},
        {Options({"-Xshare:dump"}), true, Version(21), ArchiveVerdict::UsersOwn},
        {Options({"-XX:SharedArchiveFile=C:\\mine.jsa"}), true, Version(17), ArchiveVerdict::UsersOwn},
        {Options({"-XX:ArchiveClassesAtExit=C:\\x.jsa"}), true, Version(21), ArchiveVerdict::UsersOwn},
        {Options({"-XX:-AutoCreateSharedArchive"}), false, Version(0), ArchiveVerdict::UsersOwn},
        // Only whole options count.
        {Options({"-Dx=-Xshare:off", "-Xshare:auto"}), true, Version(21), ArchiveVerdict::Add},
    };
    int index = 0;
    for (const Row& row : rows) {
        EXPECT_EQ(row.expected, DecideArchive(row.options, row.versionKnown, row.version)) << "row " << index;
        ++index;
    }
}

TEST(ClassDataSharingRules, HashFollowsWhatMakesAnArchiveValid)
{
    const String home(L"C:\\jdk-21");
    const String version(L"1.0.0");
    AnsiList base = Options({"-Djava.library.path=C:\\lib", "-Djava.class.path=C:\\a.jar", "-Xmx1g"});
    uint64_t hash = ArchiveHash(home, base, version);
    // Other options do not make another archive.
    EXPECT_EQ(hash, ArchiveHash(home, Options({"-Djava.class.path=C:\\a.jar", "-Xmx2g", "-Dother=1"}), version));
    // The class path, the module path, the runtime and the launcher do.
    EXPECT_NE(hash, ArchiveHash(home, Options({"-Djava.class.path=C:\\a.jar;C:\\b.jar"}), version));
    EXPECT_NE(hash, ArchiveHash(home, Options({"-Djava.class.path=C:\\a.jar", "--module-path=C:\\m"}), version));
    EXPECT_NE(hash, ArchiveHash(home, Options({"-Djava.class.path=C:\\a.jar", "-Djdk.module.path=C:\\m"}), version));
    EXPECT_NE(hash, ArchiveHash(String(L"C:\\jdk-22"), base, version));
    EXPECT_NE(hash, ArchiveHash(home, base, String(L"1.0.1")));
    // Text does not move between fields unnoticed.
    EXPECT_NE(ArchiveHash(String(L"C:\\a"), AnsiList(), String(L"1")),
              ArchiveHash(String(L"C:\\"), AnsiList(), String(L"a1")));
}

TEST(ClassDataSharingRules, FileNames)
{
    EXPECT_EQ(L"MyApp-0123456789abcdef.jsa", Std(ArchiveFileName(String(L"MyApp"), 0x0123456789ABCDEFull)));
    EXPECT_EQ(L"x-0000000000000000.jsa", Std(ArchiveFileName(String(L"x"), 0)));
    struct Row {
        const wchar_t* name;
        bool archive;
    } rows[] = {
        {L"MyApp-0123456789abcdef.jsa", true},
        {L"MYAPP-0123456789ABCDEF.JSA", true},
        {L"MyApp-0123456789abcde.jsa", false},    // 15 digits
        {L"MyApp-0123456789abcdefa.jsa", false},  // 17 digits
        {L"MyApp-0123456789abcdeg.jsa", false},
        {L"MyApp64-0123456789abcdef.jsa", false},  // another launcher's
        {L"MyApp_0123456789abcdef.jsa", false},
        {L"MyApp-0123456789abcdef.jsb", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.archive, IsArchiveFileName(String(row.name), String(L"MyApp"))) << Std(String(row.name));
}

TEST(ClassDataSharingRules, TheNewestArchivesStay)
{
    List<ArchiveFile> archives;
    const struct {
        const wchar_t* name;
        uint64_t time;
    } files[] = {{L"a", 10}, {L"cur", 1}, {L"b", 40}, {L"c", 20}, {L"d", 30}, {L"e", 30}};
    for (const auto& file : files) {
        ArchiveFile archive;
        archive.name = file.name;
        archive.writeTime = file.time;
        archives.Append(archive);
    }
    // b and the first of the two at 30 stay beside the current one, however old it is.
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"c", L"e"}), Std(ArchivesToDelete(archives, String(L"CUR"))));
    // Without the current one among them, two others stay as well.
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"cur", L"c", L"e"}), Std(ArchivesToDelete(archives, String(L"new"))));
    List<ArchiveFile> few;
    few.Append(archives[0]);
    few.Append(archives[2]);
    EXPECT_TRUE(ArchivesToDelete(few, String(L"new")).IsEmpty());
}
