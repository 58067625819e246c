#include "RuntimeTestSupport.h"
#include "core/LauncherApp.h"
#include "runtime/JvmLibrary.h"

#include <gtest/gtest.h>

namespace {

using runtime_test::MakeRuntime;

std::wstring Found(const std::wstring& home, JvmType type, bool* isServerOut = nullptr)
{
    bool isServer = false;
    String path = FindJvmLibrary(String((home + L"\\").c_str()), type, isServer);
    std::wstring text = path.CStr();
    if (text.empty())
        return L"";
    if (isServerOut)
        *isServerOut = isServer;
    return text.substr(home.size() + 1);
}

TEST(FindJvmLibrary, PicksTheLibraryForTheVmType)
{
    struct Case {
        std::vector<std::wstring> vms;
        JvmType type;
        const wchar_t* expected;
        bool isServer;
    };
    const Case cases[] = {
        {{L"client"}, JvmType::Server, L"", false},
        {{L"client"}, JvmType::FavorServer, L"bin\\client\\jvm.dll", false},
        {{L"client"}, JvmType::Any, L"bin\\client\\jvm.dll", false},
        {{L"client", L"server"}, JvmType::Any, L"bin\\client\\jvm.dll", false},
        {{L"client", L"server"}, JvmType::FavorServer, L"bin\\server\\jvm.dll", true},
        {{L"client", L"server"}, JvmType::Server, L"bin\\server\\jvm.dll", true},
        {{L"server"}, JvmType::Any, L"bin\\server\\jvm.dll", true},
        {{L"jrockit", L"hotspot"}, JvmType::Any, L"bin\\hotspot\\jvm.dll", false},
        {{L"jrockit", L"server"}, JvmType::Any, L"bin\\server\\jvm.dll", true},
        {{L"jrockit"}, JvmType::Any, L"bin\\jrockit\\jvm.dll", false},
        {{L"jrockit"}, JvmType::Server, L"", false},
        {{L"classic", L"hotspot"}, JvmType::FavorServer, L"bin\\classic\\jvm.dll", false},
        {{L"other"}, JvmType::Any, L"", false},
        {{}, JvmType::FavorServer, L"", false},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        MakeRuntime(folder.Path(), c.vms);
        bool isServer = !c.isServer;  // must be overwritten when found
        std::wstring found = Found(folder.Path(), c.type, &isServer);
        EXPECT_EQ(found, c.expected) << static_cast<int>(c.type) << " " << c.vms.size();
        if (!found.empty())
            EXPECT_EQ(isServer, c.isServer) << testing::PrintToString(found);
    }
}

TEST(FindJvmLibrary, LeavesIsServerAloneWhenNothingIsFound)
{
    TempFolder folder;
    MakeRuntime(folder.Path(), {L"client"});
    bool isServer = true;
    EXPECT_TRUE(FindJvmLibrary(String((folder.Path() + L"\\").c_str()), JvmType::Server, isServer).IsEmpty());
    EXPECT_TRUE(isServer);
}

TEST(PathExists, CountsFilesAndFoldersButNotMissingNames)
{
    TempFolder folder;
    WriteBytes(folder / L"file.txt", "x");
    MakeDirs(folder / L"bin\\client\\jvm.dll");  // a folder named like the library
    EXPECT_TRUE(PathExists(String((folder / L"file.txt").c_str())));
    EXPECT_TRUE(PathExists(String(folder.Path().c_str())));
    EXPECT_FALSE(PathExists(String((folder / L"missing.txt").c_str())));
    EXPECT_FALSE(PathExists(String((folder / L"missing\\file.txt").c_str())));
    EXPECT_FALSE(PathExists(String()));
    EXPECT_EQ(Found(folder.Path(), JvmType::Any), L"bin\\client\\jvm.dll");
}

TEST(PathExists, ReleasesItsFindHandle)
{
    // Many calls on the same folder: a leaked find handle would keep the
    // folder from being removed.
    TempFolder folder;
    std::wstring sub = folder / L"sub";
    WriteBytes(sub + L"\\f", "x");
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(PathExists(String((sub + L"\\f").c_str())));
    EXPECT_TRUE(DeleteFileW((sub + L"\\f").c_str()));
    EXPECT_TRUE(RemoveDirectoryW(sub.c_str()));
}

TEST(HasJavaDll, LooksForBinJavaDll)
{
    TempFolder folder;
    MakeRuntime(folder / L"jre", {L"client"});
    MakeRuntime(folder / L"nojava", {L"client"}, false);
    EXPECT_TRUE(HasJavaDll(String((folder / L"jre\\").c_str())));
    EXPECT_FALSE(HasJavaDll(String((folder / L"nojava\\").c_str())));
    EXPECT_FALSE(HasJavaDll(String((folder.Path() + L"\\").c_str())));
}

}  // namespace
