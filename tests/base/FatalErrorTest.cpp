#include "base/FatalError.h"
#include "base/List.h"
#include "base/Text.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

// The fatal error ends the process with the status code as its exit code and
// shows nothing. Death tests run the statement in a child process; an exit
// code equal to the status code shows the child ended through the fatal error
// and not through a crash, which would report an exception code instead (or
// hang on a crash window).

namespace {

struct FatalCase {
    const char* what;
    unsigned code;
    std::function<void()> statement;
};

void ExpectAllFatal(const std::vector<FatalCase>& cases)
{
    for (const FatalCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EXIT(c.statement(), ::testing::ExitedWithCode(static_cast<int>(c.code)), "");
    }
}

}  // namespace

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

TEST(FatalErrorDeathTest, EveryImpossibleTextOperation)
{
    ExpectAllFatal({
        {"index -1", 0x80070057, [] { (void)String(L"abc")[-1]; }},
        {"index at length", 0x80070057, [] { (void)String(L"abc")[3]; }},
        {"SetAt past end", 0x80070057, [] { String(L"abc").SetAt(3, L'x'); }},
        {"Mid count past end", 0x80070057, [] { String(L"abc").Mid(1, 3); }},
        {"Mid negative start", 0x80070057, [] { String(L"abc").Mid(-1); }},
        {"Remove past end", 0x80070057, [] { String(L"abc").Remove(2, 2); }},
        {"Insert past end", 0x80070057, [] { String(L"abc").Insert(4, String(L"x")); }},
        {"Truncate longer", 0x80070057, [] { String(L"abc").Truncate(4); }},
        {"Find start past end", 0x80070057, [] { String(L"abc").Find(L'a', 4); }},
        {"negative append length", 0x80070057, [] { String().Append(L"abc", -1); }},
        {"SetLength beyond storage", 0x80070057, [] { String s; s.GetBuffer(10); s.SetLength(1 << 20); }},
        {"position plus count overflows", 0x80070216, [] { String(L"abc").Mid(1, INT_MAX); }},
    });
}

TEST(FatalErrorDeathTest, EveryImpossibleListIndex)
{
    ExpectAllFatal({
        {"empty list", 0x8000000B, [] { (void)StringList()[0]; }},
        {"negative", 0x8000000B, [] { StringList l; l.Append(String(L"a")); (void)l[-1]; }},
        {"RemoveAt past end", 0x8000000B, [] { StringList l; l.Append(String(L"a")); l.RemoveAt(1); }},
        {"Swap past end", 0x8000000B, [] { StringList l; l.Append(String(L"a")); l.Swap(0, 1); }},
    });
}

TEST(FatalErrorDeathTest, ExhaustedStorageEndsWithOutOfMemory)
{
    // In a 32-bit process the byte count of such a text cannot even be
    // represented; a 64-bit heap might grant it.
    if (sizeof(void*) != 4)
        GTEST_SKIP() << "32-bit only";
    EXPECT_EXIT(
        {
            String s;
            s.GetBuffer(0x7FFFFFF0);
        },
        ::testing::ExitedWithCode(static_cast<int>(0x8007000E)), "");
}
