#include "base/Encoding.h"

#include "support/guard/GuardedInput.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

std::wstring W(const String& s) { return std::wstring(s.CStr(), s.Length()); }
std::string A(const AnsiString& s) { return std::string(s.CStr(), s.Length()); }

// Sets the calling thread's locale for one test.
class ThreadLocaleScope {
public:
    explicit ThreadLocaleScope(LCID locale) : m_saved(GetThreadLocale()) { SetThreadLocale(locale); }
    ~ThreadLocaleScope() { SetThreadLocale(m_saved); }

private:
    LCID m_saved;
};

String Decode(const char* bytes, size_t count)
{
    GuardedInput<char> in(bytes, count, true);
    return DecodeModifiedUtf8(in.get());
}

}  // namespace

TEST(EncodingTest, NoneAndEmptyGiveEmptyText)
{
    EXPECT_TRUE(FromAnsi(nullptr).IsEmpty());
    EXPECT_TRUE(FromAnsi("").IsEmpty());
    EXPECT_TRUE(ToAnsi(static_cast<const wchar_t*>(nullptr)).IsEmpty());
    EXPECT_TRUE(ToAnsi(L"").IsEmpty());
    EXPECT_TRUE(ToAnsi(String()).IsEmpty());
    EXPECT_TRUE(DecodeModifiedUtf8(nullptr).IsEmpty());
    EXPECT_TRUE(DecodeModifiedUtf8("").IsEmpty());
}

TEST(EncodingTest, AsciiRoundTrips)
{
    const char* text = "-Djava.class.path=lib\\app.jar;x";
    GuardedInput<char> in(text, std::strlen(text), true);
    String wide = FromAnsi(in.get());
    EXPECT_EQ(L"-Djava.class.path=lib\\app.jar;x", W(wide));
    EXPECT_EQ(text, A(ToAnsi(wide)));
}

TEST(EncodingTest, UsesTheThreadsCodePage)
{
    {
        ThreadLocaleScope western(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
        EXPECT_EQ(L"caf\u00E9", W(FromAnsi("caf\xE9")));
        EXPECT_EQ("caf\xE9", A(ToAnsi(L"caf\u00E9")));
    }
    {
        ThreadLocaleScope cyrillic(MAKELCID(MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), SORT_DEFAULT));
        EXPECT_EQ(L"caf\u0439", W(FromAnsi("caf\xE9")));
        EXPECT_EQ("caf\xE9", A(ToAnsi(L"caf\u0439")));
    }
}

TEST(EncodingTest, UnrepresentableCharacterBecomesTheDefaultCharacter)
{
    ThreadLocaleScope western(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
    CPINFO info;
    ASSERT_TRUE(GetCPInfo(CP_THREAD_ACP, &info));
    char defaultChar = static_cast<char>(info.DefaultChar[0]);
    // A runic letter exists in no ANSI code page.
    std::string expected = std::string("a") + defaultChar + "b";
    EXPECT_EQ(expected, A(ToAnsi(L"a\u16A0b")));
    // A character outside the basic plane is one unrepresentable character
    // (or two, one per surrogate), never an error.
    AnsiString outside = ToAnsi(L"x\U0001F600y");
    EXPECT_EQ('x', outside.CStr()[0]);
    EXPECT_EQ('y', outside.Last());
    EXPECT_EQ(defaultChar, outside.CStr()[1]);
}

// No best fit: a letter the code page lacks becomes "?", never a look-alike
// that could name another file; and the caller learns of it.
TEST(EncodingTest, ConversionToTheCodePageReportsWhatItLoses)
{
    ThreadLocaleScope western(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
    struct Case {
        const wchar_t* text;
        const char* expected;
        bool lossless;
    } cases[] = {
        {L"C:\\Apps\\app.jar", "C:\\Apps\\app.jar", true},
        {L"caf\u00E9 \u2019s \u20AC", "caf\xE9 \x92s \x80", true},  // in 1252 beyond ASCII
        {L"cp-\u0414\u043C\u0438\u0442\u0440\u0438\u0439", "cp-???????", false},
        {L"\u0141\u00F3d\u017A", "?\xF3" "d?", false},     // best fit: "L\u00F3dz"
        {L"\u0142", "?", false},                            // best fit: "l"
        {L"\uFF02quoted\uFF02", "?quoted?", false},         // best fit: the plain quotation mark
        {L"\u221Ex", "?x", false},                          // best fit: "8"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(A(ToAnsi(c.text)));
        bool lossless = !c.lossless;
        EXPECT_EQ(c.expected, A(ToAnsi(c.text, &lossless)));
        EXPECT_EQ(c.lossless, lossless);
        EXPECT_EQ(c.lossless, SurvivesAnsi(c.text));
    }
    EXPECT_EQ(1252, ThreadAnsiCodePage());
}

TEST(EncodingTest, ModifiedUtf8ForJavaNames)
{
    struct Case {
        std::wstring text;
        std::string expected;
    } cases[] = {
        {L"test/App", "test/App"},
        {L"test/\u041F\u0440", "test/\xD0\x9F\xD1\x80"},
        {L"\u4E2D", "\xE4\xB8\xAD"},
        {std::wstring(L"a\0b", 3), std::string("a\xC0\x80" "b")},  // NUL in two bytes, never a terminator
        {L"\xD83D\xDE00", "\xED\xA0\xBD\xED\xB8\x80"},        // each surrogate on its own
    };
    for (const Case& c : cases) {
        AnsiString encoded = ToModifiedUtf8(String(c.text.c_str(), static_cast<int>(c.text.size())));
        EXPECT_EQ(c.expected, A(encoded));
        EXPECT_EQ(c.text, W(DecodeModifiedUtf8(encoded.CStr())));
    }
}

TEST(EncodingTest, ModifiedUtf8DecodesEveryWellFormedSequence)
{
    struct Case {
        const char* bytes;
        size_t count;
        std::wstring expected;
    } cases[] = {
        {"plain", 5, L"plain"},
        {"\xC0\x80", 2, std::wstring(1, L'\0')},           // NUL in its two-byte form
        {"a\xC0\x80z", 4, std::wstring(L"a\0z", 3)},
        {"\xC3\xA9t\xC3\xA9", 5, L"\u00E9t\u00E9"},
        {"\xDF\xBF", 2, L"\u07FF"},
        {"\xE4\xB8\xAD", 3, L"\u4E2D"},
        {"\xEF\xBF\xBF", 3, L"\uFFFF"},
        // U+1F600 as its surrogates D83D DE00, each in three bytes.
        {"\xED\xA0\xBD\xED\xB8\x80", 6, L"\xD83D\xDE00"},
        // A lone surrogate passes through unchanged.
        {"\xED\xA0\xBD!", 4, L"\xD83D!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(c.expected, W(Decode(c.bytes, c.count)));
    }
}

TEST(EncodingTest, MalformedModifiedUtf8BecomesReplacementCharacters)
{
    struct Case {
        const char* bytes;
        size_t count;
        std::wstring expected;
    } cases[] = {
        {"\x80", 1, L"\uFFFD"},                        // continuation without a lead
        {"\x80\x80\x80x", 4, L"\uFFFDx"},              // a run of them is one
        {"\xC3", 1, L"\uFFFD"},                        // cut off by the terminator
        {"\xC3x", 2, L"\uFFFDx"},
        {"\xE4\xB8", 2, L"\uFFFD"},
        {"\xE4\xB8x", 3, L"\uFFFDx"},
        {"\xE4x\xAD", 3, L"\uFFFDx\uFFFD"},
        {"\xF0\x9F\x98\x80", 4, L"\uFFFD"},            // standard UTF-8 four-byte form
        {"\xFF", 1, L"\uFFFD"},
        {"\xFE\xFFok", 4, L"\uFFFD\uFFFDok"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(c.expected, W(Decode(c.bytes, c.count)));
    }
}
