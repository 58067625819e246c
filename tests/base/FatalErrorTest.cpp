#include "base/FatalError.h"
#include "base/List.h"
#include "base/Text.h"

#include <gtest/gtest.h>
#include <windows.h>

// The fatal error ends the process with the status code as its exit code and
// shows nothing. Death tests run the statement in a child process.

TEST(FatalErrorDeathTest, PositionOutsideStringEndsWithInvalidArg)
{
    EXPECT_EXIT(
        {
            String s(L"abc");
            s.Mid(4);
        },
        ::testing::ExitedWithCode(static_cast<int>(0x80070057)), "");
}

TEST(FatalErrorDeathTest, ListIndexOutsideEndsWithBounds)
{
    EXPECT_EXIT(
        {
            StringList list;
            list.Append(String(L"x"));
            (void)list[1];
        },
        ::testing::ExitedWithCode(static_cast<int>(0x8000000B)), "");
}
