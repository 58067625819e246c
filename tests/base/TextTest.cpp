#include "base/List.h"
#include "base/SplitList.h"
#include "base/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::wstring W(const String& s) { return std::wstring(s.CStr(), s.Length()); }
}  // namespace

TEST(TextTest, AppendGrowsAndKeepsTerminator)
{
    String s;
    EXPECT_STREQ(L"", s.CStr());
    for (int i = 0; i < 1000; ++i)
        s.Append(L'a' + i % 26);
    EXPECT_EQ(1000, s.Length());
    EXPECT_EQ(L'\0', s.CStr()[1000]);
    EXPECT_EQ(L'l', s[11]);
}

TEST(TextTest, AppendOfItsOwnCharactersSurvivesGrowth)
{
    // 15 characters fill the first storage block exactly, so each of these
    // appends has to move the buffer it reads from.
    String s(L"abcdefghijklmno");
    s.Append(s);
    EXPECT_EQ(L"abcdefghijklmnoabcdefghijklmno", W(s));
    s.Append(s.CStr() + 28, 2);
    EXPECT_EQ(L"abcdefghijklmnoabcdefghijklmnono", W(s));
    s += s.CStr();
    EXPECT_EQ(64, s.Length());
    EXPECT_EQ(W(s.Left(32)), W(s.Mid(32)));
}

TEST(TextTest, CopiesAreIndependentValues)
{
    String a(L"shared");
    String b = a;
    b.SetAt(0, L'S');
    a.Append(L'!');
    EXPECT_EQ(L"shared!", W(a));
    EXPECT_EQ(L"Shared", W(b));

    String moved = static_cast<String&&>(b);
    EXPECT_EQ(L"Shared", W(moved));
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_STREQ(L"", b.CStr());
}

TEST(TextTest, AssigningAnEmptyTextClearsTheCharacters)
{
    String s(L"old content");
    String empty;
    s = empty;
    EXPECT_EQ(0, s.Length());
    EXPECT_STREQ(L"", s.CStr());
    s = L"";
    EXPECT_STREQ(L"", s.CStr());
}

TEST(TextTest, MidLeftRemoveInsert)
{
    String s(L"launcher");
    EXPECT_EQ(L"unch", W(s.Mid(2, 4)));
    EXPECT_EQ(L"cher", W(s.Mid(4)));
    EXPECT_EQ(L"", W(s.Mid(8)));
    EXPECT_EQ(L"", W(s.Mid(8, 0)));
    EXPECT_EQ(L"lau", W(s.Left(3)));

    String r = s;
    r.Remove(1, 3);
    EXPECT_EQ(L"lcher", W(r));
    r.Remove(4, 1);
    EXPECT_EQ(L"lche", W(r));
    r.Remove(0, 4);
    EXPECT_STREQ(L"", r.CStr());

    String i(L"ac");
    i.Insert(1, String(L"b"));
    i.Insert(0, String(L">"));
    i.Insert(4, String(L"<"));
    EXPECT_EQ(L">abc<", W(i));

    String self(L"xy");
    self.Insert(1, self);
    EXPECT_EQ(L"xxyy", W(self));
}

TEST(TextTest, EmptyTextWithoutStorageTakesEmptyOperations)
{
    String s;
    s.Remove(0, 0);
    s.Insert(0, String());
    s.Truncate(0);
    EXPECT_EQ(L"", W(s.Mid(0)));
    EXPECT_EQ(String::npos, s.Find(L'a'));
    EXPECT_EQ(0, s.Find(L""));
    EXPECT_EQ(0, s.Last());
    EXPECT_TRUE(s.IsEmpty());
}

TEST(TextTest, SearchAndCompare)
{
    String s(L"C:\\dir/sub\\file.txt");
    EXPECT_EQ(2, s.Find(L'\\'));
    EXPECT_EQ(10, s.Find(L'\\', 3));
    EXPECT_EQ(10, s.ReverseFind(L'\\'));
    EXPECT_EQ(6, s.ReverseFind(L'/'));
    EXPECT_EQ(11, s.Find(L"file"));
    EXPECT_EQ(String::npos, s.Find(L"file", 12));
    EXPECT_TRUE(s.StartsWith(L"C:\\"));
    EXPECT_TRUE(s.EndsWith(L".txt"));
    EXPECT_FALSE(s.EndsWith(L"C:\\dir/sub\\file.txt!"));
    EXPECT_TRUE(String(L"YES").EqualsNoCase(L"yes"));
    EXPECT_FALSE(String(L"yes").EqualsNoCase(L"yes "));
    // Only ASCII letters fold.
    EXPECT_FALSE(String(L"\u00C9").EqualsNoCase(L"\u00E9"));
    EXPECT_TRUE(String(L"a\u00C9").EqualsNoCase(L"A\u00C9"));
}

TEST(TextTest, ExplicitLengthKeepsEmbeddedZeros)
{
    String s(L"a\0b", 3);
    EXPECT_EQ(3, s.Length());
    EXPECT_EQ(L'b', s[2]);
    EXPECT_FALSE(s == String(L"a"));
    EXPECT_TRUE(s == String(L"a\0b", 3));
}

TEST(TextTest, BufferForSystemCalls)
{
    String s(L"keep");
    wchar_t* buffer = s.GetBuffer(100);
    for (int i = 0; i < 100; ++i)
        buffer[i] = L'x';
    buffer[50] = 0;
    s.SetLengthToTerminator();
    EXPECT_EQ(50, s.Length());
    s.SetLength(3);
    EXPECT_STREQ(L"xxx", s.CStr());
}

TEST(ListTest, GrowsAndKeepsItsItems)
{
    StringList list;
    for (int i = 0; i < 1000; ++i)
        list.Append(String(std::to_wstring(i).c_str()));
    ASSERT_EQ(1000, list.Count());
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(std::to_wstring(i), W(list[i]));
    int seen = 0;
    for (const String& item : list)
        seen += item.IsEmpty() ? 0 : 1;
    EXPECT_EQ(1000, seen);
}

TEST(ListTest, AppendingItsOwnItemsSurvivesGrowth)
{
    // Capacities run 1, 2, 4, ...: three of these appends find the list full
    // and move the item they are reading.
    StringList list;
    list.Append(String(L"first"));
    list.Append(list[0]);
    list.Append(static_cast<String&&>(list[1]));
    list.Append(list[2]);
    list.Append(list[3]);
    ASSERT_EQ(5, list.Count());
    EXPECT_EQ(L"first", W(list[0]));
    EXPECT_EQ(L"", W(list[1]));  // moved from
    for (int i = 2; i < 5; ++i)
        EXPECT_EQ(L"first", W(list[i]));

    StringList twice;
    twice.Append(String(L"a"));
    twice.Append(String(L"b"));
    twice.Append(String(L"c"));
    twice.AppendAll(twice);
    ASSERT_EQ(6, twice.Count());
    EXPECT_EQ(L"c", W(twice[5]));
}

TEST(ListTest, RemoveSwapClearAndCopy)
{
    StringList list;
    for (const wchar_t* s : {L"a", L"b", L"c", L"d"})
        list.Append(String(s));
    list.RemoveAt(1);
    ASSERT_EQ(3, list.Count());
    EXPECT_EQ(L"c", W(list[1]));
    list.RemoveAt(2);
    EXPECT_EQ(2, list.Count());
    list.Swap(0, 1);
    list.Swap(1, 1);
    EXPECT_EQ(L"c", W(list[0]));
    EXPECT_EQ(L"a", W(list[1]));

    StringList copy = list;
    copy[0].Append(L'!');
    EXPECT_EQ(L"c", W(list[0]));
    EXPECT_EQ(L"c!", W(copy[0]));

    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
    list.Append(String(L"again"));
    EXPECT_EQ(1, list.Count());

    StringList moved = static_cast<StringList&&>(copy);
    EXPECT_EQ(2, moved.Count());
    EXPECT_EQ(0, copy.Count());
}

namespace {
std::vector<std::wstring> Split(const wchar_t* text, const wchar_t* separator)
{
    StringList items;
    SplitList(String(text), separator, items);
    std::vector<std::wstring> result;
    for (const String& item : items)
        result.emplace_back(item.CStr(), item.Length());
    return result;
}
}  // namespace

TEST(SplitListTest, KeepsInnerEmptyItemsAndDropsTrailingOne)
{
    using V = std::vector<std::wstring>;
    EXPECT_EQ((V{L"a", L"", L"b"}), Split(L"a;;b", L";"));
    EXPECT_EQ((V{L"a"}), Split(L"a;", L";"));
    EXPECT_EQ((V{L"", L"a"}), Split(L";a", L";"));
    EXPECT_EQ((V{L"abc"}), Split(L"abc", L";"));
    EXPECT_EQ(V{}, Split(L"", L";"));
    EXPECT_EQ((V{L""}), Split(L";", L";"));
    EXPECT_EQ((V{L"x", L"y"}), Split(L"x\r\ny\r\n", L"\r\n"));
    EXPECT_EQ((V{L"a;b"}), Split(L"a;b", L""));
}
