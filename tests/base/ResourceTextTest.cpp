#include "base/ResourceText.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {
std::wstring W(const String& s) { return std::wstring(s.CStr(), s.Length()); }
}  // namespace

TEST(ResourceTextTest, StringTableHoldsExactlyTheLaunchersTexts)
{
    static const wchar_t* const kTexts[] = {
        L"Pengecualian Windows: %s (errno = %d).\n",
        L"Pengecualian JNI: %s\nAlasan: %s.\n",
        L"Kesalahan COM: %s (errno = %d).\n",
        L"Pengecualian JNI: %s.\n",
        L" Java Runtime Environment (JRE) tidak ditemukan. Silakan download dan instal JRE dengan server JVM (%s) dari:",
        L"The Java Runtime Environment (JRE) tidak ditemukan. Silakan download dan instal JRE (%s) dari:",
        L"gagal mendapatkan lintasan modul ",
        L"Java Class Path tidak ditetapkan di file INI.",
        L"Main class tidak ditetapkan di file INI.",
        L"Gagal memuat Main Class: %s.\n",
        L"tidak menemukan CreateJavaVM JNI",
        L"gagal membuat VM Java",
        L"Browse folder JRE",
        L"Tidak dapat menemukan main class %s.\n",
        L"Tidak ditemukan metode utama di class yang ditetapkan.\n",
        L"versi terbaru",
        L"versi maksimum %s",
        L"versi minimum %s",
        L"diperlukan versi %s",
        L"versi antara %s dan %s",
        L"Gagal memuat perpustakaan VM Java: %s (errno = %d).\n",
        L"gagal memulai",
        L"gagal memulai modul",
        L"tidak dikenal",
        L"utas dilepas dari VM",
        L"versi JNI salah",
        L"memori tidak cukup",
        L"VM telah dibuat",
        L"argumen tidak benar",
    };
    static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == 29, "ids 202 to 230");
    for (unsigned id = 202; id <= 230; ++id) {
        SCOPED_TRACE(id);
        EXPECT_EQ(std::wstring(kTexts[id - 202]), W(LoadResourceString(id)));
    }
    // Neighbours in the same blocks are empty.
    EXPECT_TRUE(LoadResourceString(201).IsEmpty());
    EXPECT_TRUE(LoadResourceString(208 - 16).IsEmpty());
}

TEST(ResourceTextTest, MissingEntriesAreEmpty)
{
    EXPECT_EQ(L"gagal membuat VM Java", W(LoadResourceString(213)));
    EXPECT_TRUE(LoadResourceString(231).IsEmpty());    // empty entry of an existing block
    EXPECT_TRUE(LoadResourceString(100).IsEmpty());    // block that does not exist
    EXPECT_TRUE(LoadResourceString(0).IsEmpty());
    EXPECT_TRUE(LoadResourceString(0xFFFF).IsEmpty());
    EXPECT_TRUE(LoadResourceString(0x10000 + 213).IsEmpty());  // not a 16-bit id
}

TEST(ResourceTextTest, FormatsTextsAndNumbers)
{
    EXPECT_EQ(L"a=x, b=-42, c=7", W(FormatText(L"a=%s, b=%d, c=%u", L"x", -42, 7u)));
    EXPECT_EQ(L"-2147483648 2147483647 0", W(FormatText(L"%d %d %d", INT_MIN, INT_MAX, 0)));
    EXPECT_EQ(L"4294967295", W(FormatText(L"%u", 0xFFFFFFFFu)));
    EXPECT_EQ(L"100% sure, 50%", W(FormatText(L"%d%% sure, 50%%", 100)));
    EXPECT_EQ(L"[]", W(FormatText(L"[%s]", L"")));
    EXPECT_EQ(L"[(null)]", W(FormatText(L"[%s]", static_cast<const wchar_t*>(nullptr))));
    // Unknown conversions and a lone trailing percent sign are kept as written.
    EXPECT_EQ(L"%x %5d end%", W(FormatText(L"%x %5d end%")));
    EXPECT_EQ(L"", W(FormatText(L"")));
    EXPECT_EQ(L"\u00E9\u4E2D \xD83D\xDE00", W(FormatText(L"%s %s", L"\u00E9\u4E2D", L"\xD83D\xDE00")));
}

TEST(ResourceTextTest, FormatHasNoLengthLimit)
{
    std::wstring longArgument(5000, L'p');
    String result = FormatText(L"<%s|%s>", longArgument.c_str(), longArgument.c_str());
    EXPECT_EQ(L"<" + longArgument + L"|" + longArgument + L">", W(result));
}

TEST(ResourceTextTest, FormatGivenAsStringTableId)
{
    EXPECT_EQ(L"Pengecualian Windows: gagal mendapatkan lintasan modul  (errno = 5).\n",
              W(FormatText(TextId(202), LoadResourceString(208).CStr(), 5)));
    EXPECT_EQ(L"versi antara 1.6 dan 1.8", W(FormatText(TextId(221), L"1.6", L"1.8")));
    EXPECT_EQ(L"", W(FormatText(TextId(231))));
    EXPECT_TRUE(IsTextId(TextId(0xFFFF)));
    EXPECT_FALSE(IsTextId(L"literal"));
}
