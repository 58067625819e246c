#include "jvm/ClassPathRules.h"
#include "jvm/Environment.h"
#include "jvm/TestText.h"

#include <gtest/gtest.h>

TEST(PathRulesTest, StripLastComponents)
{
    struct Row {
        const wchar_t* path;
        int count;
        const wchar_t* expected;
    } rows[] = {
        {L"C:\\rt\\bin\\server\\jvm.dll", 2, L"C:\\rt\\bin"},
        {L"C:\\rt\\bin\\server\\jvm.dll", 3, L"C:\\rt"},
        {L"C:\\rt\\bin\\server\\jvm.dll", 0, L"C:\\rt\\bin\\server\\jvm.dll"},
        {L"C:\\jvm.dll", 2, L"C:"},
        {L"jvm.dll", 2, L"jvm.dll"},
        {L"", 3, L""},
        {L"\\\\server\\share\\x", 5, L""},
        {L"C:\\rt\\bin\\", 1, L"C:\\rt\\bin"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(std::wstring(row.expected), Std(StripLastComponents(String(row.path), row.count))) << row.path;
}

TEST(PathRulesTest, ClassPathItemKinds)
{
    for (const wchar_t* absolute : {L"C:\\x\\b.jar", L"c:", L"\\\\server\\share\\c.jar", L"1:x", L"C:rel.jar"})
        EXPECT_TRUE(IsAbsoluteClassPathItem(String(absolute))) << absolute;
    for (const wchar_t* relative : {L"lib\\a.jar", L"\\lib\\a.jar", L"a", L"", L"%APPDIR%\\a.jar", L"/x", L":"})
        EXPECT_FALSE(IsAbsoluteClassPathItem(String(relative))) << relative;
    EXPECT_TRUE(IsWildcardClassPathItem(String(L"lib\\*.jar")));
    EXPECT_TRUE(IsWildcardClassPathItem(String(L"*")));
    EXPECT_FALSE(IsWildcardClassPathItem(String(L"lib\\a?.jar")));
}

TEST(PathRulesTest, ClassPathItemsAsSearched)
{
    struct Row {
        const wchar_t* written;
        const wchar_t* cleaned;
    } rows[] = {
        {L" C:\\x\\b.jar ", L"C:\\x\\b.jar"},
        {L"\tlib/a.jar\t", L"lib\\a.jar"},
        {L"lib/*.jar", L"lib\\*.jar"},
        {L"//server/share/c.jar", L"\\\\server\\share\\c.jar"},
        {L"my lib\\a b.jar", L"my lib\\a b.jar"},
        {L"   ", L""},
        {L"", L""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(std::wstring(row.cleaned), Std(CleanClassPathItem(String(row.written)))) << row.written;
}
