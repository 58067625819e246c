// Table tests of the settings rules that need no system call.

#include "settings/EmbeddedSettings.h"
#include "settings/GrowingBuffer.h"
#include "settings/SettingWords.h"
#include "settings/SettingsPathRules.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

using settings_test::Str;

TEST(SettingsPathRulesTest, SettingsPathUsesTheLastDotOfTheWholePath)
{
    struct Row {
        const wchar_t* path;
        bool ok;
        const wchar_t* expected;
    } rows[] = {
        {L"C:\\App\\launcher.exe", true, L"C:\\App\\launcher.ini"},
        {L"C:\\My.Tool\\run", true, L"C:\\My.ini"},
        {L"C:\\App\\tool.v2.exe", true, L"C:\\App\\tool.v2.ini"},
        {L"C:\\App\\run.", true, L"C:\\App\\run.ini"},
        {L"C:\\App\\run", false, L""},
        {L"", false, L""},
        {L"x64\\launcher64.exe", true, L"x64\\launcher64.ini"},
    };
    for (const Row& row : rows) {
        String result;
        EXPECT_EQ(row.ok, SettingsPathFor(String(row.path), result)) << row.path;
        if (row.ok)
            EXPECT_EQ(std::wstring(row.expected), Str(result)) << row.path;
    }
}

TEST(SettingsPathRulesTest, BaseName)
{
    struct Row {
        const wchar_t* path;
        const wchar_t* expected;
    } rows[] = {
        {L"C:\\App\\launcher.exe", L"launcher"},
        {L"C:\\My.Tool\\run", L"run"},
        {L"C:\\App\\tool.v2.exe", L"tool.v2"},
        {L"launcher64.exe", L"launcher64"},
        {L"C:\\App\\", L""},
        {L"C:\\App\\.exe", L""},
        {L"", L""},
        {L"D:/unix/style.exe", L"D:/unix/style"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(std::wstring(row.expected), Str(SettingsBaseName(String(row.path)))) << row.path;
}

TEST(SettingsPathRulesTest, ProductFolderDropsOnlyTheInvalidCharacters)
{
    struct Row {
        const wchar_t* name;
        const wchar_t* expected;
    } rows[] = {
        {L"A/B:C", L"ABC"},
        {L"My Product 2.0", L"My Product 2.0"},
        {L"a\\b?c\"d|e>f<g:h/i*j", L"abcdefghij"},
        {L"\\?\"|><:/*", L""},
        {L"", L""},
        {L"\x00e9t\x00e9", L"\x00e9t\x00e9"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(std::wstring(row.expected), Str(ProductFolderName(String(row.name)))) << row.name;
}

TEST(SettingsPathRulesTest, PerUserPathJoinsItsParts)
{
    EXPECT_EQ(L"C:\\Users\\u\\AppData\\ABC\\P1\\launcher.ini",
              Str(JoinPerUserSettingsPath(String(L"C:\\Users\\u\\AppData"), String(L"ABC"), String(L"P1"),
                                          String(L"launcher"))));
    // No APPDATA: the path starts at the root of the current drive.
    EXPECT_EQ(L"\\ABC\\P1\\launcher.ini",
              Str(JoinPerUserSettingsPath(String(), String(L"ABC"), String(L"P1"), String(L"launcher"))));
    // No product name: two backslashes after APPDATA.
    EXPECT_EQ(L"C:\\D\\\\P1\\run.ini",
              Str(JoinPerUserSettingsPath(String(L"C:\\D"), String(), String(L"P1"), String(L"run"))));
}

TEST(SettingWordsTest, YesRules)
{
    struct Row {
        const wchar_t* value;
        bool anyCase;
        bool lowercase;
    } rows[] = {
        {L"Yes", true, false}, {L"yes", true, true},  {L"YES", true, false}, {L"yEs", true, false},
        {L"y", false, false},  {L"true", false, false}, {L"1", false, false}, {L"", false, false},
        {L"yes!", false, false}, {L" yes", false, false}, {L"no", false, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.anyCase, IsYesAnyCase(String(row.value))) << row.value;
        EXPECT_EQ(row.lowercase, IsLowercaseYes(String(row.value))) << row.value;
    }
}

TEST(SettingWordsTest, ApplicationTypeAndJvmType)
{
    EXPECT_TRUE(IsServiceApplication(String(L"service")));
    EXPECT_FALSE(IsServiceApplication(String(L"Service")));
    EXPECT_FALSE(IsServiceApplication(String(L"SERVICE")));
    EXPECT_FALSE(IsServiceApplication(String()));

    struct Row {
        const wchar_t* value;
        int expected;
    } rows[] = {
        {L"server", 1}, {L"favor_server", 2}, {L"Server", 0}, {L"FAVOR_SERVER", 0},
        {L"client", 0}, {L"", 0},             {L"server ", 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, JvmTypeFromText(String(row.value))) << row.value;
}

TEST(SettingWordsTest, JvmSourceTable)
{
    struct Row {
        const wchar_t* value;
        bool jdkFirst, jreFirst, allowOther;
    } rows[] = {
        {L"", true, true, true},
        {L"favor_JRE", false, true, true},
        {L"favor_JDK", true, false, true},
        {L"only_JRE", false, true, false},
        {L"only_JDK", true, false, false},
        {L"favor_jre", false, false, false},  // case-sensitive
        {L"ONLY_JDK", false, false, false},
        {L"anything", false, false, false},
    };
    for (const Row& row : rows) {
        JvmSourceFlags f = JvmSourceFromText(String(row.value));
        EXPECT_EQ(row.jdkFirst, f.jdkFirst) << row.value;
        EXPECT_EQ(row.jreFirst, f.jreFirst) << row.value;
        EXPECT_EQ(row.allowOther, f.allowOtherKind) << row.value;
    }
}

TEST(SettingWordsTest, VmProviderTableIsCaseInsensitive)
{
    struct Row {
        const wchar_t* value;
        VmProviderFlags f;  // allow/prefer JRockit, allow/prefer Sun, allow/prefer IBM
    } rows[] = {
        {L"", {false, false, true, true, false, false}},
        {L"oracle", {false, false, true, true, false, false}},
        {L"jrockit", {true, true, false, false, false, false}},
        {L"JRockit", {true, true, false, false, false, false}},
        {L"ibm", {false, false, false, false, true, true}},
        {L"IBM", {false, false, false, false, true, true}},
        {L"favor_sun", {true, false, true, true, true, false}},
        {L"Favor_Sun", {true, false, true, true, true, false}},
        {L"favor_jrockit", {true, true, true, false, true, false}},
        {L"favor_ibm", {true, false, true, false, true, true}},
        {L"FAVOR_IBM", {true, false, true, false, true, true}},
        {L"any", {true, false, true, false, true, false}},
        {L"ANY", {true, false, true, false, true, false}},
        {L"any ", {false, false, true, true, false, false}},
    };
    for (const Row& row : rows) {
        VmProviderFlags f = VmProviderFromText(String(row.value));
        EXPECT_EQ(row.f.allowJRockit, f.allowJRockit) << row.value;
        EXPECT_EQ(row.f.preferJRockit, f.preferJRockit) << row.value;
        EXPECT_EQ(row.f.allowSun, f.allowSun) << row.value;
        EXPECT_EQ(row.f.preferSun, f.preferSun) << row.value;
        EXPECT_EQ(row.f.allowIbm, f.allowIbm) << row.value;
        EXPECT_EQ(row.f.preferIbm, f.preferIbm) << row.value;
    }
}

TEST(SettingWordsTest, VersionBounds)
{
    struct Row {
        const wchar_t* value;
        int32_t min[5];
        int32_t max[5];
    } rows[] = {
        {L"any", {0, 0, 0, 0, 4}, {65535, 65535, 65535, 65535, 4}},
        {L"ANY", {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}},
        {L"Any", {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}},
        {L"", {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}},
        {L"1.6", {1, 6, 0, 0, 2}, {1, 6, 65535, 65535, 2}},
        {L"1.8.0_201", {1, 8, 0, 201, 4}, {1, 8, 0, 201, 4}},
        {L"11", {11, 0, 0, 0, 1}, {11, 65535, 65535, 65535, 1}},
    };
    for (const Row& row : rows) {
        JavaVersion min = MinimumVersionFromText(String(row.value));
        JavaVersion max = MaximumVersionFromText(String(row.value));
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(row.min[i], min.component[i]) << row.value << " min " << i;
            EXPECT_EQ(row.max[i], max.component[i]) << row.value << " max " << i;
        }
        EXPECT_EQ(row.min[4], min.count) << row.value;
        EXPECT_EQ(row.max[4], max.count) << row.value;
    }
}

TEST(SettingWordsTest, JrePathCompletion)
{
    const String module(L"C:\\Apps\\Tool\\launcher.exe");
    struct Row {
        const wchar_t* value;
        bool absolute;
        const wchar_t* expected;
    } rows[] = {
        {L"jre", false, L"C:\\Apps\\Tool\\jre"},
        {L"..\\jre", false, L"C:\\Apps\\Tool\\..\\jre"},
        {L"\\x", false, L"C:\\Apps\\Tool\\\\x"},
        {L"j", false, L"C:\\Apps\\Tool\\j"},
        {L"\\", false, L"C:\\Apps\\Tool\\\\"},
        {L"C:..", true, L"C:.."},
        {L"D:\\Java", true, L"D:\\Java"},
        {L"\\\\srv", true, L"\\\\srv"},
        {L"\\\\srv\\share\\jre", true, L"\\\\srv\\share\\jre"},
        {L"", false, L""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.absolute, IsAbsoluteSettingPath(String(row.value))) << row.value;
        EXPECT_EQ(std::wstring(row.expected), Str(CompleteSettingPath(String(row.value), module))) << row.value;
    }
    // A module path without any backslash has an empty folder.
    EXPECT_EQ(L"\\jre", Str(CompleteSettingPath(String(L"jre"), String(L"launcher.exe"))));
}

TEST(SettingWordsTest, MainClassInternalName)
{
    EXPECT_EQ(L"com/example/Main", Str(MainClassInternalName(String(L"com.example.Main"))));
    EXPECT_EQ(L"Main", Str(MainClassInternalName(String(L"Main"))));
    EXPECT_EQ(L"a/b/C$D", Str(MainClassInternalName(String(L"a/b.C$D"))));
}

TEST(GrowingBufferTest, DoublesWhileTheReaderFillsToTheSlack)
{
    // A reader that behaves like the profile functions: it copies what fits
    // and reports size - slack when the text was cut.
    for (int slack : {1, 2}) {
        for (int textLength : {0, 1, 253, 254, 255, 256, 510, 511, 512, 1000, 5000}) {
            std::vector<int> sizes;
            String out;
            int reported = ReadIntoGrowingBuffer(out, 256, slack, [&](wchar_t* buffer, int size) {
                sizes.push_back(size);
                int n = textLength < size - slack ? textLength : size - slack;
                for (int i = 0; i < n; ++i)
                    buffer[i] = L'a';
                buffer[n] = 0;
                return n;
            });
            int expectedSize = 256;
            while (textLength >= expectedSize - slack)
                expectedSize *= 2;
            EXPECT_EQ(textLength, reported) << textLength << " slack " << slack;
            EXPECT_EQ(expectedSize, sizes.back()) << textLength << " slack " << slack;
            for (size_t i = 1; i < sizes.size(); ++i)
                EXPECT_EQ(sizes[i - 1] * 2, sizes[i]);
        }
    }
}

TEST(EmbeddedSettingsTest, DecodeStaysInsideTheData)
{
    struct Row {
        std::string bytes;
        std::wstring expected;
    } rows[] = {
        {std::string("a\0b\0", 4), L"ab"},
        {std::string("a\0b\0c", 5), L"ab"},                      // odd trailing byte dropped
        {std::string("\xFF\xFE" "a\0", 4), L"\xFEFF" L"a"},      // the mark is left to the parser
        {std::string("a\0\0\0b\0", 6), L"a"},                    // ends at a zero unit
        {std::string("\x3A\x26", 2), L"\x263A"},                 // little-endian
        {std::string("x", 1), L""},
        {std::string(), L""},
    };
    for (const Row& row : rows) {
        // A copy of exactly the given size, so that a read past it would
        // land outside the allocation.
        std::vector<char> data(row.bytes.begin(), row.bytes.end());
        EXPECT_EQ(row.expected, Str(DecodeEmbeddedSettings(data.empty() ? nullptr : data.data(), data.size())));
    }
    EXPECT_EQ(L"", Str(DecodeEmbeddedSettings(nullptr, 10)));
}
