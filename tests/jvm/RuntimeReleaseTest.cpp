// Which runtimes count as IBM's, from the text of their release file.

#include "jvm/RuntimeRelease.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RuntimeRelease, ImplementorNamesIbm)
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
        EXPECT_EQ(row.ibm, ReleaseTextNamesIbm(row.text.data(), row.text.size())) << row.text;

    // Nothing past the given length is read.
    std::string text = "IMPLEMENTOR=\"IBM Corporation\"";
    EXPECT_FALSE(ReleaseTextNamesIbm(text.data(), 15));
}

}  // namespace
