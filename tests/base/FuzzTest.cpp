// Robustness runs over the text parsers: many random and adversarial inputs
// from a fixed seed, each placed right before an inaccessible page so that a
// read past its end faults. Besides "no crash", each run checks invariants
// that hold for every input.

#include "base/Encoding.h"
#include "base/PathText.h"
#include "base/ResourceText.h"
#include "base/SplitList.h"

#include "support/guard/GuardedInput.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <cwchar>
#include <random>
#include <string>
#include <vector>

namespace {

std::wstring W(const String& s) { return std::wstring(s.CStr(), s.Length()); }
bool ShellUnc(const wchar_t* path) { return PathIsUNCW(path) != FALSE; }

// Random texts over a small alphabet, so that separators, prefixes and
// percent signs come up often; now and then a long one.
class TextSource {
public:
    explicit TextSource(unsigned seed) : m_random(seed) {}

    std::wstring Next(const std::wstring& alphabet, size_t maxLength)
    {
        size_t length = Pick(8) == 0 ? Pick(maxLength * 4 + 1) : Pick(maxLength + 1);
        std::wstring text;
        for (size_t i = 0; i < length; ++i)
            text += alphabet[Pick(alphabet.size())];
        return text;
    }
    size_t Pick(size_t bound) { return std::uniform_int_distribution<size_t>(0, bound - 1)(m_random); }

private:
    std::mt19937 m_random;
};

// A String read from guarded storage without a terminator: its construction
// must not look past the count.
String GuardedString(const std::wstring& text)
{
    GuardedInput<wchar_t> in(text.data(), text.size(), false);
    return String(in.get(), static_cast<int>(text.size()));
}

std::wstring Join(const StringList& items, const std::wstring& separator)
{
    std::wstring joined;
    for (int i = 0; i < items.Count(); ++i)
        joined += (i ? separator : L"") + W(items[i]);
    return joined;
}

}  // namespace

TEST(FuzzTest, SplitListRebuildsItsText)
{
    TextSource source(1);
    const std::wstring separators[] = {L";", L"\\", L"\r\n", L";;", L"ab"};
    for (int run = 0; run < 4000; ++run) {
        const std::wstring& separator = separators[run % 5];
        std::wstring text = source.Next(L"ab;\\\r\n ", 24);
        GuardedInput<wchar_t> guardedSeparator(separator.c_str(), separator.size(), true);
        StringList items;
        SplitList(GuardedString(text), guardedSeparator.get(), items);

        // Joined with the separator, the items give the text, or the text
        // less the one trailing separator the split dropped.
        std::wstring joined = Join(items, separator);
        bool same = joined == text;
        bool lessTrailing = !text.empty() && joined + separator == text;
        ASSERT_TRUE(same || lessTrailing) << run;
        ASSERT_EQ(text.empty(), items.IsEmpty()) << run;
        if (separator.size() == 1)
            for (const String& item : items)
                ASSERT_EQ(String::npos, item.Find(separator[0])) << run;
    }
}

TEST(FuzzTest, SplitPathKeepsEveryCharacter)
{
    TextSource source(2);
    const std::wstring starts[] = {L"", L"\\", L"\\\\", L"\\\\?\\", L"\\\\?\\UNC\\", L"C:", L"C:\\", L"\\\\srv\\"};
    for (int run = 0; run < 4000; ++run) {
        std::wstring path = starts[run % 8] + source.Next(L"a\\\\?:UNC.", 20);
        StringList parts;
        SplitPathText(GuardedString(path), ShellUnc, parts);

        // Parts joined with backslashes give the path, at most without one
        // leading backslash (a root-less path) and one trailing one.
        std::wstring joined = Join(parts, L"\\");
        std::vector<std::wstring> allowed = {path};
        if (!path.empty() && path.back() == L'\\')
            allowed.push_back(path.substr(0, path.size() - 1));
        if (!path.empty() && path[0] == L'\\') {
            allowed.push_back(path.substr(1));
            if (path.size() > 1 && path.back() == L'\\')
                allowed.push_back(path.substr(1, path.size() - 2));
        }
        bool matches = false;
        for (const std::wstring& a : allowed)
            matches = matches || joined == a;
        ASSERT_TRUE(matches) << run;
        // Only the root may hold a backslash.
        for (int i = 1; i < parts.Count(); ++i)
            ASSERT_EQ(String::npos, parts[i].Find(L'\\')) << run;
    }
}

TEST(FuzzTest, ExtendedLengthFormOnlyEverAddsAPrefix)
{
    TextSource source(3);
    const std::wstring starts[] = {L"", L"\\\\", L"\\\\?\\", L"\\\\?\\UNC\\", L"C:\\"};
    for (int run = 0; run < 3000; ++run) {
        std::wstring path = starts[run % 5] + source.Next(L"x\\\\?/:UNC", 120);
        if (run % 50 == 0)
            path += std::wstring(32767 - 300 + source.Pick(600), L'y');
        String result(L"before");
        bool accepted = MakeExtendedLengthForm(GuardedString(path), ShellUnc, result);
        if (path.size() >= 32767) {
            ASSERT_FALSE(accepted) << run;
            ASSERT_EQ(L"before", W(result)) << run;
            continue;
        }
        ASSERT_TRUE(accepted) << run;
        std::wstring r = W(result);
        if (path.size() < 260) {
            ASSERT_EQ(path, r) << run;
            continue;
        }
        // Long paths always come out prefixed, the path's tail unchanged.
        ASSERT_EQ(0u, r.compare(0, 4, L"\\\\?\\")) << run;
        ASSERT_GE(r.size(), path.size()) << run;
        ASSERT_LE(r.size(), path.size() + 6) << run;
        ASSERT_EQ(path.substr(2), r.substr(r.size() - (path.size() - 2))) << run;
    }
}

namespace {

// Modified UTF-8 of UTF-16 units, written independently of the decoder.
std::string EncodeModifiedUtf8(const std::wstring& text)
{
    std::string out;
    for (wchar_t wc : text) {
        unsigned c = static_cast<unsigned short>(wc);
        if (c != 0 && c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace

TEST(FuzzTest, ModifiedUtf8RoundTripsAndSurvivesGarbage)
{
    std::mt19937 random(4);
    for (int run = 0; run < 3000; ++run) {
        // Well-formed: random UTF-16 units, surrogates and NUL included.
        std::wstring text;
        size_t length = random() % 40;
        for (size_t i = 0; i < length; ++i) {
            switch (random() % 4) {
            case 0: text += static_cast<wchar_t>(random() % 0x80); break;
            case 1: text += static_cast<wchar_t>(random() % 0x800); break;
            case 2: text += static_cast<wchar_t>(0xD800 + random() % 0x800); break;
            default: text += static_cast<wchar_t>(random() % 0x10000); break;
            }
        }
        std::string encoded = EncodeModifiedUtf8(text);
        GuardedInput<char> good(encoded.data(), encoded.size(), true);
        ASSERT_EQ(text, W(DecodeModifiedUtf8(good.get()))) << run;

        // Arbitrary bytes: at most one character per byte, nothing read past
        // the terminator.
        std::string bytes;
        size_t count = random() % 40;
        for (size_t i = 0; i < count; ++i) {
            char b = static_cast<char>(random() % 256);
            bytes += b ? b : '\x80';
        }
        GuardedInput<char> bad(bytes.data(), bytes.size(), true);
        String decoded = DecodeModifiedUtf8(bad.get());
        ASSERT_LE(static_cast<size_t>(decoded.Length()), bytes.size()) << run;
        ASSERT_EQ(bytes.empty(), decoded.IsEmpty()) << run;
    }
}

TEST(FuzzTest, FormatTextMatchesAReferenceModel)
{
    // The arguments are fixed; conversion k must read argument k, so the
    // generator emits %s for even k and %d or %u for odd k.
    const wchar_t* const texts[] = {L"alpha", L"", L"\u4E2D\xD83D\xDE00", L"%s%d"};
    const int numbers[] = {-42, INT_MIN, 7, 0};
    std::mt19937 random(5);
    for (int run = 0; run < 4000; ++run) {
        std::wstring format;
        std::wstring expected;
        int conversions = 0;
        size_t pieces = random() % 16;
        for (size_t i = 0; i < pieces; ++i) {
            switch (random() % 7) {
            case 0:
            case 1:
                if (conversions < 8) {
                    if (conversions % 2 == 0) {
                        format += L"%s";
                        expected += texts[conversions / 2];
                    } else if (random() % 2) {
                        format += L"%d";
                        expected += std::to_wstring(numbers[conversions / 2]);
                    } else {
                        format += L"%u";
                        expected += std::to_wstring(static_cast<unsigned>(numbers[conversions / 2]));
                    }
                    ++conversions;
                }
                break;
            case 2: format += L"%%"; expected += L"%"; break;
            case 3: format += L"%x"; expected += L"%x"; break;  // not a known conversion
            case 4: format += L"%5"; expected += L"%5"; break;
            default: {
                wchar_t c = static_cast<wchar_t>(L' ' + random() % 90);
                if (c == L'%')
                    c = L'#';
                format += c;
                expected += c;
            }
            }
        }
        if (random() % 5 == 0) {  // a lone percent sign at the very end
            format += L"%";
            expected += L"%";
        }
        GuardedInput<wchar_t> guarded(format.c_str(), format.size(), true);
        String result = FormatText(guarded.get(), texts[0], numbers[0], texts[1], numbers[1], texts[2], numbers[2],
                                   texts[3], numbers[3]);
        ASSERT_EQ(expected, W(result)) << run;
    }
}

TEST(FuzzTest, FormatTextOfArbitraryCharactersNeverReadsPastTheFormat)
{
    // Formats without conversions that read arguments: any character but
    // "s", "d" and "u" may follow a percent sign.
    TextSource source(6);
    for (int run = 0; run < 3000; ++run) {
        std::wstring format = source.Next(L"%%%x5 \u00E9\xD83D", 30);
        GuardedInput<wchar_t> guarded(format.c_str(), format.size(), true);
        String result = FormatText(guarded.get());
        std::wstring expected;
        for (size_t i = 0; i < format.size(); ++i) {
            expected += format[i];
            if (format[i] == L'%' && i + 1 < format.size() && format[i + 1] == L'%')
                ++i;
        }
        ASSERT_EQ(expected, W(result)) << run;
    }
}

TEST(GuardedInputTest, InputEndsWhereTheGuardPageBegins)
{
    auto protectionAt = [](const void* address) {
        MEMORY_BASIC_INFORMATION info;
        EXPECT_NE(0u, VirtualQuery(address, &info, sizeof(info)));
        return info.Protect;
    };
    const wchar_t text[] = L"abc";
    GuardedInput<wchar_t> open(text, 3, false);
    EXPECT_EQ(0, std::wmemcmp(text, open.get(), 3));
    EXPECT_EQ(static_cast<DWORD>(PAGE_READWRITE), protectionAt(open.get() + 2));
    EXPECT_EQ(static_cast<DWORD>(PAGE_NOACCESS), protectionAt(open.get() + 3));

    GuardedInput<char> terminated("xyz", 3, true);
    EXPECT_STREQ("xyz", terminated.get());
    EXPECT_EQ(static_cast<DWORD>(PAGE_NOACCESS), protectionAt(terminated.get() + 4));

    GuardedInput<char> nothing(nullptr, 0, false);
    EXPECT_EQ(static_cast<DWORD>(PAGE_NOACCESS), protectionAt(nothing.get()));

    // Inputs larger than a page keep their last element next to the guard.
    std::string big(10000, 'b');
    GuardedInput<char> large(big.data(), big.size(), false);
    EXPECT_EQ('b', large.get()[9999]);
    EXPECT_EQ(static_cast<DWORD>(PAGE_NOACCESS), protectionAt(large.get() + 10000));
}
