#include "runtime/ReleaseFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    const char* name;
    std::string text;
    int expected[4];  // all zero: no version
};

TEST(ReleaseFile, JavaVersionLine)
{
    const std::string modules = "MODULES=\"" + std::string(3000, 'm') + "\"\n";
    const Case cases[] = {
        {"a JDK 17 file", "IMPLEMENTOR=\"Eclipse Adoptium\"\nJAVA_RUNTIME_VERSION=\"17.0.9+9\"\n"
                          "JAVA_VERSION=\"17.0.9\"\nJAVA_VERSION_DATE=\"2023-10-17\"\n" + modules,
         {17, 0, 9, 0}},
        {"a JDK 8 file", "JAVA_VERSION=\"1.8.0_392\"\nOS_NAME=\"Windows\"\n", {1, 8, 0, 392}},
        {"Windows line ends", "OS_ARCH=\"amd64\"\r\nJAVA_VERSION=\"21.0.1\"\r\n", {21, 0, 1, 0}},
        {"no quotes", "JAVA_VERSION=11.0.21\n", {11, 0, 21, 0}},
        {"no line end at all", "JAVA_VERSION=\"21\"", {21, 0, 0, 0}},
        {"a byte-order mark", "\xEF\xBB\xBFJAVA_VERSION=\"17.0.2\"\n", {17, 0, 2, 0}},
        {"after a long line", modules + "JAVA_VERSION=\"17.0.8.1\"\n", {17, 0, 8, 1}},
        {"the first line counts", "JAVA_VERSION=\"11\"\nJAVA_VERSION=\"17\"\n", {11, 0, 0, 0}},
        {"a NUL inside the value", std::string("JAVA_VERSION=\"17\0.5\"\n", 21), {17, 5, 0, 0}},
        {"only similar names", "JAVA_VERSION_DATE=\"2023-10-17\"\nJAVA_RUNTIME_VERSION=\"17\"\n", {0, 0, 0, 0}},
        {"indented", " JAVA_VERSION=\"17\"\n", {0, 0, 0, 0}},
        {"lower case", "java_version=\"17\"\n", {0, 0, 0, 0}},
        {"a value without digits", "JAVA_VERSION=\"unknown\"\nJAVA_VERSION=\"17\"\n", {0, 0, 0, 0}},
        {"an empty value", "JAVA_VERSION=\n", {0, 0, 0, 0}},
        {"a lone quote", "JAVA_VERSION=\"\n", {0, 0, 0, 0}},
        {"a number too large", "JAVA_VERSION=\"99999999999\"\n", {0, 0, 0, 0}},
        {"a value too long to be a version", "JAVA_VERSION=\"17" + std::string(200, '.') + "\"\n", {0, 0, 0, 0}},
        {"binary bytes", std::string("\x7F" "ELF\x02\x01\x01\0\0\0JAVA_VERSION", 22), {0, 0, 0, 0}},
        {"empty", "", {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        JavaVersion version;
        version.component[0] = 99;
        bool read = ParseReleaseVersion(c.text.data(), static_cast<int>(c.text.size()), version);
        bool expected = c.expected[0] != 0;
        EXPECT_EQ(read, expected) << c.name;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(version.component[i], c.expected[i]) << c.name << " component " << i;
    }
}

TEST(ReleaseFile, ReadsNoFurtherThanItIsTold)
{
    const std::string text = "JAVA_VERSION=\"17.0.9\"\n";
    JavaVersion version;
    // Cut inside the value: the digits read so far are all there is.
    ASSERT_TRUE(ParseReleaseVersion(text.data(), 16, version));
    EXPECT_EQ(version.component[0], 17);
    EXPECT_EQ(version.component[1], 0);
    EXPECT_EQ(version.component[2], 0);
    EXPECT_FALSE(ParseReleaseVersion(text.data(), 12, version));  // "JAVA_VERSION" without its "="
    EXPECT_FALSE(ParseReleaseVersion(nullptr, 10, version));
    EXPECT_FALSE(ParseReleaseVersion(text.data(), -1, version));
}

TEST(ReleaseFile, ImplementorNamesIbm)
{
    struct Row {
        std::string text;
        bool ibm;
    } rows[] = {
        {"IMPLEMENTOR=\"IBM Corporation\"\n", true},
        {"JAVA_VERSION=\"1.8.0\"\r\nIMPLEMENTOR=\"IBM Corporation\"\r\nOS_NAME=\"Windows\"\r\n", true},
        {"IMPLEMENTOR=International Business Machines Corporation", true},
        {"IMPLEMENTOR= \"IBM\"", true},
        {"IMPLEMENTOR=\"Eclipse Adoptium\"\nJVM_VARIANT=\"Openj9\"\n", false},
        {"IMPLEMENTOR=\"Oracle Corporation\"\nIMPLEMENTOR=\"IBM Corporation\"\n", false},  // the first line counts
        {"JAVA_VENDOR=\"IBM Corporation\"\n", false},
        {"implementor=\"IBM Corporation\"\n", false},
        {" IMPLEMENTOR=\"IBM Corporation\"\n", false},
        {"IMPLEMENTOR=\"ibm\"\n", false},
        {"IMPLEMENTOR=\"IB", false},
        {"", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.ibm, ReleaseTextNamesIbm(row.text.data(), static_cast<int>(row.text.size()))) << row.text;

    // Nothing past the given length is read.
    std::string text = "IMPLEMENTOR=\"IBM Corporation\"";
    EXPECT_FALSE(ReleaseTextNamesIbm(text.data(), 15));
}

}  // namespace
