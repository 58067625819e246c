#include "base/UniqueResource.h"

#include <gtest/gtest.h>

namespace {

HANDLE NewEvent() { return CreateEventW(nullptr, TRUE, FALSE, nullptr); }

bool IsOpen(HANDLE h)
{
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != FALSE;
}

}  // namespace

TEST(UniqueResourceTest, ClosesOnDestruction)
{
    HANDLE raw = NewEvent();
    ASSERT_NE(nullptr, raw);
    {
        UniqueHandle owner(raw);
        EXPECT_TRUE(owner.valid());
        EXPECT_TRUE(IsOpen(raw));
    }
    EXPECT_FALSE(IsOpen(raw));
}

TEST(UniqueResourceTest, MovedFromObjectsOwnNothing)
{
    HANDLE raw = NewEvent();
    UniqueHandle first(raw);
    UniqueHandle second(static_cast<UniqueHandle&&>(first));
    EXPECT_FALSE(first.valid());
    EXPECT_EQ(nullptr, first.get());
    EXPECT_EQ(raw, second.get());

    UniqueHandle third;
    third = static_cast<UniqueHandle&&>(second);
    EXPECT_FALSE(second);
    EXPECT_EQ(raw, third.get());
    first.reset();  // releasing an empty owner closes nothing
    second.reset();
    EXPECT_TRUE(IsOpen(raw));

    third = static_cast<UniqueHandle&&>(third);
    EXPECT_TRUE(IsOpen(raw));
    EXPECT_EQ(raw, third.get());
}

TEST(UniqueResourceTest, MoveAssignmentClosesWhatWasOwned)
{
    HANDLE a = NewEvent();
    HANDLE b = NewEvent();
    UniqueHandle ownerA(a);
    UniqueHandle ownerB(b);
    ownerA = static_cast<UniqueHandle&&>(ownerB);
    EXPECT_FALSE(IsOpen(a));
    EXPECT_TRUE(IsOpen(b));
    EXPECT_EQ(b, ownerA.get());
}

TEST(UniqueResourceTest, ResetAndRelease)
{
    HANDLE a = NewEvent();
    HANDLE b = NewEvent();
    UniqueHandle owner(a);
    owner.reset(a);  // the same value again: must not close it
    EXPECT_TRUE(IsOpen(a));
    owner.reset(b);
    EXPECT_FALSE(IsOpen(a));
    EXPECT_EQ(b, owner.get());

    HANDLE released = owner.release();
    EXPECT_EQ(b, released);
    EXPECT_FALSE(owner.valid());
    owner.reset();
    EXPECT_TRUE(IsOpen(b));
    CloseHandle(b);

    HANDLE* slot = owner.put();
    *slot = NewEvent();
    EXPECT_TRUE(owner.valid());
}

TEST(UniqueResourceTest, BothInvalidValuesOwnNothing)
{
    // Handles from CreateEvent and friends are invalid as NULL, file and find
    // handles as INVALID_HANDLE_VALUE; neither value is ever closed.
    EXPECT_FALSE(UniqueHandle(nullptr).valid());
    EXPECT_FALSE(UniqueHandle(INVALID_HANDLE_VALUE).valid());
    EXPECT_FALSE(UniqueFileHandle(INVALID_HANDLE_VALUE).valid());
    EXPECT_FALSE(UniqueFileHandle(nullptr).valid());
    EXPECT_FALSE(UniqueFindHandle(INVALID_HANDLE_VALUE).valid());
    EXPECT_FALSE(UniqueFindHandle(nullptr).valid());
    EXPECT_EQ(INVALID_HANDLE_VALUE, UniqueFindHandle().get());
    EXPECT_EQ(nullptr, UniqueHandle().get());
    EXPECT_FALSE(UniqueRegKey().valid());
    EXPECT_FALSE(UniqueModule().valid());
}

TEST(UniqueResourceTest, FindHandleIsClosedWithFindClose)
{
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    WIN32_FIND_DATAW data;
    std::wstring pattern = std::wstring(windows) + L"\\*";
    HANDLE raw = FindFirstFileW(pattern.c_str(), &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, raw);
    {
        UniqueFindHandle find(raw);
        EXPECT_TRUE(FindNextFileW(find.get(), &data));
    }
    SetLastError(0);
    EXPECT_FALSE(FindNextFileW(raw, &data));
}

TEST(UniqueResourceTest, CleanupKeepsTheLastError)
{
    UniqueHandle owner(NewEvent());
    SetLastError(ERROR_FILE_NOT_FOUND);
    owner.reset();
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());

    // Also when the release itself fails and sets an error of its own.
    UniqueHandle bogus(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x7FFFFFF0)));
    SetLastError(ERROR_ACCESS_DENIED);
    bogus.reset();
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());

    {
        UniqueModule module(LoadLibraryExW(L"version.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
        ASSERT_TRUE(module.valid());
        SetLastError(ERROR_INVALID_NAME);
    }
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_NAME), GetLastError());
}
