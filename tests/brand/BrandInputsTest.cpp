// The branding tool's checks of its inputs, on tables of real cases: version
// numbers, icon files (whole, cut short, lying about their sizes) and INI
// texts in the encodings packagers save them in.

#include "BrandOptions.h"
#include "IconFile.h"
#include "IniText.h"
#include "Utf8.h"
#include "VersionResource.h"

#include "BrandTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

Bytes ToBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// Windows-1252 for the bytes the tables use, standing in for the ANSI code page.
std::wstring Latin1(const uint8_t* data, size_t size)
{
    std::wstring text;
    for (size_t i = 0; i < size; ++i)
        text += static_cast<wchar_t>(data[i]);
    return text;
}

}  // namespace

TEST(BrandVersion, OnlyFourNumbersUpTo65535)
{
    struct Row {
        const wchar_t* text;
        bool valid;
        uint16_t parts[4];
    } rows[] = {
        {L"1.2.3.4", true, {1, 2, 3, 4}},
        {L"0.0.0.0", true, {0, 0, 0, 0}},
        {L"65535.65535.65535.65535", true, {65535, 65535, 65535, 65535}},
        {L"10.002.30.0400", true, {10, 2, 30, 400}},
        {L"65536.0.0.0", false, {}},
        {L"1.2.3.99999999999", false, {}},
        {L"1.2.3", false, {}},
        {L"1.2.3.4.5", false, {}},
        {L"1..3.4", false, {}},
        {L"1.2.3.", false, {}},
        {L" 1.2.3.4", false, {}},
        {L"1.2.3.4 ", false, {}},
        {L"-1.2.3.4", false, {}},
        {L"+1.2.3.4", false, {}},
        {L"1,2,3,4", false, {}},
        {L"1.2.3.4a", false, {}},
        {L"v1.2.3.4", false, {}},
        {L"1.2.3.\x0664", false, {}},  // an Arabic-Indic digit is not a decimal digit here
        {L"", false, {}},
    };
    for (const Row& row : rows) {
        uint16_t parts[4] = {7, 7, 7, 7};
        EXPECT_EQ(row.valid, ParseVersionNumber(row.text, parts)) << Narrow(row.text);
        if (row.valid)
            EXPECT_EQ(0, memcmp(row.parts, parts, sizeof(parts))) << Narrow(row.text);
    }
}

// Strings of a version block are found by name; a block cut anywhere, or
// lying about its lengths, gives nothing rather than reading past its end.
TEST(BrandVersion, StringsReadBackWithinTheBlock)
{
    VersionInfo info;
    info.strings = {{L"CompanyName", L"Example Ltd"}, {L"LegalCopyright", L"(c) 2026"}};
    Bytes block = BuildVersionResource(info);
    std::wstring value;
    ASSERT_TRUE(FindVersionString(block, L"LegalCopyright", value));
    EXPECT_EQ(L"(c) 2026", value);
    EXPECT_FALSE(FindVersionString(block, L"ProductName", value));
    for (size_t cut = 0; cut < block.size(); cut += 3)
        FindVersionString(Bytes(block.begin(), block.begin() + static_cast<long>(cut)), L"LegalCopyright", value);
    Bytes lying = block;
    lying[0] = lying[1] = 0xFF;  // longer than the data
    EXPECT_FALSE(FindVersionString(lying, L"CompanyName", value));
}

TEST(BrandIcon, ImagesAndTheirGroup)
{
    std::string bitmap = BitmapImage(16, 'a');
    std::string png = PngImage(256, 'b');
    std::vector<IconImage> images;
    std::wstring reason;
    ASSERT_TRUE(ParseIconFile(ToBytes(IconFile({{16, bitmap}, {256, png}})), images, reason)) << Narrow(reason);
    ASSERT_EQ(2u, images.size());
    EXPECT_EQ(ToBytes(bitmap), images[0].data);
    EXPECT_EQ(ToBytes(png), images[1].data);
    EXPECT_EQ(16, images[0].width);
    EXPECT_EQ(0, images[1].width);  // 256 pixels

    // GRPICONDIR: the file's header, then per image its entry with an id in
    // place of the file offset.
    std::string expected(6, '\0');
    SetU16(expected, 2, 1);
    SetU16(expected, 4, 2);
    for (int i = 0; i < 2; ++i) {
        std::string entry(14, '\0');
        entry[0] = entry[1] = static_cast<char>(i == 0 ? 16 : 0);
        SetU16(entry, 4, 1);
        SetU16(entry, 6, 32);
        SetU32(entry, 8, static_cast<unsigned long>((i == 0 ? bitmap : png).size()));
        SetU16(entry, 12, 7 + i);
        expected += entry;
    }
    EXPECT_EQ(ToBytes(expected), IconGroupData(images, 7));
}

TEST(BrandIcon, RefusedFiles)
{
    const std::string good = IconFile({{16, BitmapImage(16, 'x')}, {32, PngImage(32, 'y')}});
    auto changed = [&](size_t at, unsigned long value, bool wide) {
        std::string file = good;
        wide ? SetU32(file, at, value) : SetU16(file, at, value);
        return file;
    };
    std::string notImage = good;
    notImage[good.size() - 40] = 'z';  // the PNG signature of image 2
    struct Row {
        const char* what;
        std::string file;
        const wchar_t* reason;
    } rows[] = {
        {"empty file", "", L"too short"},
        {"header cut short", good.substr(0, 5), L"too short"},
        {"a text file", "[Application]\r\nName=x\r\n", L"does not start with an icon file header"},
        {"a cursor", changed(2, 2, false), L"cursor file"},
        {"reserved word set", changed(0, 1, false), L"does not start with an icon file header"},
        {"no images", changed(4, 0, false), L"holds no images"},
        {"directory cut short", good.substr(0, 6 + 16 + 8), L"runs past the end"},
        {"count beyond the directory", changed(4, 1000, false), L"runs past the end"},
        {"image cut short", good.substr(0, good.size() - 1), L"image 2 lies outside the file"},
        {"offset beyond the file", changed(6 + 12, 0x7FFFFFF0, true), L"image 1 lies outside the file"},
        {"offset plus size wraps", changed(6 + 16 + 8, 0xFFFFFFFF, true), L"image 2 lies outside the file"},
        {"empty image", changed(6 + 8, 0, true), L"image 1 lies outside the file"},
        {"image is not a picture", notImage, L"image 2 is neither a bitmap nor a PNG"},
    };
    for (const Row& row : rows) {
        std::vector<IconImage> images;
        std::wstring reason;
        EXPECT_FALSE(ParseIconFile(ToBytes(row.file), images, reason)) << row.what;
        EXPECT_NE(std::wstring::npos, reason.find(row.reason)) << row.what << ": " << Narrow(reason);
    }
}

TEST(BrandSettings, TextInEachEncodingBecomesUtf16)
{
    struct Row {
        const char* what;
        std::string bytes;
        const wchar_t* text;
    } rows[] = {
        {"ASCII", "[Application]\r\nName=x\r\n", L"[Application]\r\nName=x\r\n"},
        {"UTF-8", "Name=caf\xC3\xA9\n", L"Name=caf\x00E9\n"},
        {"UTF-8 with BOM", "\xEF\xBB\xBFName=\xF0\x9F\x98\x80", L"Name=\xD83D\xDE00"},
        {"ANSI", "Name=caf\xE9\tx", L"Name=caf\x00E9\tx"},
        {"UTF-16LE", std::string("\xFF\xFEN\0=\0\xE9\0", 8), L"N=\x00E9"},
        {"UTF-16BE", std::string("\xFE\xFF\0N\0=\x20\xAC", 8), L"N=\x20AC"},
        {"empty", "", L""},
    };
    for (const Row& row : rows) {
        std::wstring text, reason;
        EXPECT_TRUE(DecodeIniText(ToBytes(row.bytes), Latin1, text, reason)) << row.what << ": " << Narrow(reason);
        EXPECT_EQ(std::wstring(row.text), text) << row.what;
    }
}

TEST(BrandSettings, ResourceTextEndsLinesWithCrLf)
{
    struct Row {
        const wchar_t* text;
        const wchar_t* stored;
    } rows[] = {
        {L"A\x00E9", L"\xFEFF" L"A\x00E9"},
        {L"[A]\nk=v\n", L"\xFEFF[A]\r\nk=v\r\n"},
        {L"[A]\r\nk=v", L"\xFEFF[A]\r\nk=v"},
        {L"[A]\rk=v\r", L"\xFEFF[A]\r\nk=v\r\n"},
        {L"\n\r\n\r\r", L"\xFEFF\r\n\r\n\r\n\r\n"},
        {L"", L"\xFEFF"},
    };
    for (const Row& row : rows) {
        Bytes expected;
        for (const wchar_t* c = row.stored; *c; ++c) {
            expected.push_back(static_cast<uint8_t>(*c & 0xFF));
            expected.push_back(static_cast<uint8_t>(*c >> 8));
        }
        EXPECT_EQ(expected, EmbeddedSettingsData(row.text)) << Narrow(row.text);
    }
}

TEST(BrandSettings, BinaryIsRefused)
{
    struct Row {
        const char* what;
        std::string bytes;
        const wchar_t* reason;
    } rows[] = {
        {"zero byte", std::string("Name=a\0b", 8), L"at byte 6"},
        {"UTF-16 without BOM", std::string("N\0=\0", 4), L"at byte 1"},
        {"control character", "Name=\x01", L"not text"},
        {"PNG", PngImage(8, 'p'), L"not text"},
        {"UTF-16 odd length", std::string("\xFF\xFEN\0=", 5), L"odd number of bytes"},
        {"UTF-16 zero unit", std::string("\xFF\xFEN\0\0\0", 6), L"at byte 4"},
        {"UTF-8 BOM, not UTF-8", "\xEF\xBB\xBFName=caf\xE9", L"not UTF-8"},
    };
    for (const Row& row : rows) {
        std::wstring text, reason;
        EXPECT_FALSE(DecodeIniText(ToBytes(row.bytes), Latin1, text, reason)) << row.what;
        EXPECT_NE(std::wstring::npos, reason.find(row.reason)) << row.what << ": " << Narrow(reason);
    }
}

TEST(BrandArguments, RefusedCommandLines)
{
    struct Row {
        std::vector<std::wstring> args;
        const wchar_t* reason;
    } rows[] = {
        {{}, L"name the launcher"},
        {{L"launcher.exe", L"--name", L"A", L"--version", L"1.0.0.0"}, L"name the launcher"},
        {{L"a.exe", L"b.exe", L"c.exe", L"--name", L"A", L"--version", L"1.0.0.0"}, L"unexpected argument c.exe"},
        {{L"a.exe", L"b.exe", L"--version", L"1.0.0.0"}, L"--name is required"},
        {{L"a.exe", L"b.exe", L"--name", L"A"}, L"--version is required"},
        {{L"a.exe", L"b.exe", L"--name", L"A", L"--version"}, L"--version needs a value"},
        {{L"a.exe", L"b.exe", L"--name", L"A", L"--name", L"B"}, L"--name is given twice"},
        {{L"a.exe", L"b.exe", L"--title", L"A"}, L"unknown option --title"},
        {{L"a.exe", L"b.exe", L"--name", L"A", L"--version", L"1.0.0.0", L"--strip-signature", L"--strip-signature"},
         L"--strip-signature is given twice"},
    };
    for (const Row& row : rows) {
        BrandOptions options;
        std::wstring reason;
        EXPECT_FALSE(ParseBrandArguments(row.args, options, reason)) << Narrow(row.reason);
        EXPECT_NE(std::wstring::npos, reason.find(row.reason)) << Narrow(reason);
    }
    BrandOptions options;
    std::wstring reason;
    ASSERT_TRUE(ParseBrandArguments({L"--icon", L"a.ico", L"in.exe", L"--name", L"My App", L"out.exe", L"--version",
                                     L"1.2.3.4", L"--settings", L"d.ini"},
                                    options, reason));
    EXPECT_EQ(L"in.exe", options.launcher);
    EXPECT_EQ(L"out.exe", options.output);
    EXPECT_EQ(L"a.ico", options.icon);
    EXPECT_EQ(L"My App", options.name);
    EXPECT_EQ(L"d.ini", options.settings);
    EXPECT_EQ(L"", options.company);
    EXPECT_FALSE(options.stripSignature);

    // A switch takes no value: what follows it is the next argument.
    ASSERT_TRUE(ParseBrandArguments({L"in.exe", L"--strip-signature", L"out.exe", L"--name", L"A", L"--version",
                                     L"1.2.3.4"},
                                    options, reason));
    EXPECT_TRUE(options.stripSignature);
    EXPECT_EQ(L"out.exe", options.output);
}

TEST(BrandUtf8, CommandLineAndPathsOfThePosixBuild)
{
    struct Row {
        const char* what;
        std::string utf8;
        std::wstring utf16;
        std::string back;  // Utf16ToUtf8 of utf16
    } rows[] = {
        {"accent", "caf\xC3\xA9", L"caf\x00E9", "caf\xC3\xA9"},
        {"above U+FFFF", "\xF0\x9D\x84\x9E", L"\xD834\xDD1E", "\xF0\x9D\x84\x9E"},
        {"cut-off sequence", "a\xE2\x82", L"a\xFFFD", "a\xEF\xBF\xBD"},
        {"overlong slash", "\xC0\xAF/", L"\xFFFD\xFFFD/", "\xEF\xBF\xBD\xEF\xBF\xBD/"},
        {"encoded surrogate", "\xED\xA0\x80", L"\xFFFD", "\xEF\xBF\xBD"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.utf16, Utf8ToUtf16(row.utf8)) << row.what;
        EXPECT_EQ(row.back, Utf16ToUtf8(row.utf16)) << row.what;
    }
    EXPECT_EQ("\xEF\xBF\xBDx", Utf16ToUtf8(L"\xDC00x"));  // an unpaired surrogate
}
