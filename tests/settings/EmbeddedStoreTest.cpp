#include "settings/EmbeddedStore.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

using settings_test::Str;

namespace {

// The store as "[section]key=value|..." for compact expectations.
std::wstring Dump(const EmbeddedStore& store)
{
    std::wstring out;
    for (const EmbeddedStore::Section& section : store.Sections()) {
        out += L"[" + Str(section.name) + L"]";
        for (const EmbeddedStore::Pair& pair : section.pairs)
            out += Str(pair.key) + L"=" + Str(pair.value) + L"|";
    }
    return out;
}

std::wstring Parsed(const std::wstring& text)
{
    EmbeddedStore store;
    store.Parse(String(text.c_str(), static_cast<int>(text.size())));
    return Dump(store);
}

}  // namespace

TEST(EmbeddedStoreTest, ParseTable)
{
    struct Row {
        std::wstring text;
        std::wstring expected;
    } rows[] = {
        {L"", L""},
        {L"\xFEFF", L""},
        {L"\xFEFF[S]\r\nk=v", L"[S]k=v|"},
        {L"[S]\r\nk=v\r\n", L"[S]k=v|"},
        // Lines before the first section and lines without "=" are ignored.
        {L"a=1\r\n[S]\r\nnoequals\r\nb=2", L"[S]b=2|"},
        // Blanks around the key, the "=" and the value go; inner ones stay.
        {L"[S]\r\n \t my key \t=  a value  \r\n", L"[S]my key=a value|"},
        // Only the first "=" splits.
        {L"[S]\r\nk=a=b", L"[S]k=a=b|"},
        {L"[S]\r\n=v\r\nk=", L"[S]=v|k=|"},
        // Section lines: leading and trailing blanks allowed, the name is
        // taken between the first "[" and the last "]" untrimmed.
        {L"  [ Name ]  \r\nk=v", L"[ Name ]k=v|"},
        {L"[a]b]\r\nk=v", L"[a]b]k=v|"},
        {L"[]\r\nk=v", L"[]k=v|"},
        // Not a section line: it is a pair when it has "=", else nothing.
        {L"[S]\r\n[T\r\n[x=1", L"[S][x=1|"},
        {L"[S]\r\nk=v ]", L"[S]k=v ]|"},
        // Repeats are stored again.
        {L"[S]\r\nk=1\r\nk=2\r\n[S]\r\nk=3", L"[S]k=1|k=2|[S]k=3|"},
        // No comment syntax: ";" lines with "=" are pairs.
        {L"[S]\r\n;c=1\r\n#d=2", L"[S];c=1|#d=2|"},
        // A lone "\n" does not end a line.
        {L"[S]\nk=v\r\nj=w", L""},
        {L"[S]\r\nk=v\nj=w", L"[S]k=v\nj=w|"},
        // The mark is removed from the first line only.
        {L"[S]\r\n\xFEFFk=v", L"[S]\xFEFFk=v|"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, Parsed(row.text)) << row.text;
}

TEST(EmbeddedStoreTest, LookupIsExactAndFindsTheFirstOccurrence)
{
    EmbeddedStore store;
    store.Parse(String(L"[S]\r\nk=1\r\nk=2\r\nK=3\r\n[S]\r\nk=4\r\nonly=5\r\n[s]\r\nk=6"));
    auto find = [&](const wchar_t* section, const wchar_t* key) -> std::wstring {
        const String* v = store.Find(String(section), String(key));
        return v ? Str(*v) : L"<none>";
    };
    EXPECT_EQ(L"1", find(L"S", L"k"));
    EXPECT_EQ(L"3", find(L"S", L"K"));
    EXPECT_EQ(L"6", find(L"s", L"k"));
    // Only the first section of a name is searched.
    EXPECT_EQ(L"<none>", find(L"S", L"only"));
    EXPECT_EQ(L"<none>", find(L"T", L"k"));
    EXPECT_EQ(L"<none>", find(L"S ", L"k"));

    // Parsing again replaces the content.
    store.Parse(String(L"[T]\r\nk=9"));
    EXPECT_EQ(L"<none>", find(L"S", L"k"));
    EXPECT_EQ(L"9", find(L"T", L"k"));
}
