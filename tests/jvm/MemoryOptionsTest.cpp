#include "core/LauncherApp.h"
#include "jvm/MemoryOptions.h"
#include "jvm/TestText.h"

#include <gtest/gtest.h>

namespace {

const uint64_t kMb = 1024 * 1024;

MemoryFigures Figures(uint64_t physical, uint64_t virtualSpace = 0)
{
    MemoryFigures figures;
    figures.totalPhysical = physical;
    figures.availableVirtual = virtualSpace;
    return figures;
}

std::wstring Resolve(const wchar_t* parameter, const MemoryFigures& figures)
{
    return Std(ResolveMemoryOption(String(parameter), figures));
}

}  // namespace

TEST(MemoryOptionsTest, ParseNumberListTable)
{
    struct Row {
        const wchar_t* text;
        int prefix;
        int count;
        uint32_t a, b, c;
        bool overflow;
    } rows[] = {
        {L"-Xmx50:256:1024p", 4, 3, 50, 256, 1024, false},
        {L"-Xmx50p", 4, 1, 50, 0, 0, false},
        {L"abc", 3, 0, 0, 0, 0, false},
        {L"", 0, 0, 0, 0, 0, false},
        {L":5x", 0, 2, 0, 5, 0, false},
        {L"-Xmx:50p", 4, 2, 0, 50, 0, false},
        // The last character never counts as part of a number.
        {L"12", 0, 1, 1, 0, 0, false},
        {L"7", 0, 1, 0, 0, 0, false},
        {L"1a2b", 0, 1, 12, 0, 0, false},
        {L"1:2:3:4:5p", 0, 5, 1, 2, 3, false},
        {L"::", 0, 2, 0, 0, 0, false},
        {L"4294967295x", 0, 1, 4294967295u, 0, 0, false},
        // Too large for 32 bits: held at the largest value and flagged.
        {L"4294967296x", 0, 1, 4294967295u, 0, 0, true},
        {L"1:99999999999:3x", 0, 3, 1, 4294967295u, 3, true},
    };
    for (const auto& row : rows) {
        NumberList list = ParseNumberList(String(row.text));
        EXPECT_EQ(row.prefix, list.prefixLength) << row.text;
        EXPECT_EQ(row.count, list.count) << row.text;
        EXPECT_EQ(row.a, list.At(0)) << row.text;
        EXPECT_EQ(row.b, list.At(1)) << row.text;
        EXPECT_EQ(row.c, list.At(2)) << row.text;
        EXPECT_EQ(row.overflow, list.overflow) << row.text;
    }
}

TEST(MemoryOptionsTest, RecognisesRelativeOptionsOnly)
{
    for (const wchar_t* yes : {L"-Xmx50p", L"-Xms10:512P", L"-Xss10t", L"-Xmx25T", L"-Xmxp"})
        EXPECT_TRUE(IsRelativeMemoryOption(String(yes))) << yes;
    for (const wchar_t* no : {L"-Xmx512m", L"-Xmx50P%", L"-XX:MaxRAMFraction=2", L"-xmx50p", L"-Xmn50p", L"-Xm",
                              L"", L"p", L"-Xmx50p "})
        EXPECT_FALSE(IsRelativeMemoryOption(String(no))) << no;
}

TEST(MemoryOptionsTest, ResolvesShareAndBounds)
{
    // Half of 2 GB.
    EXPECT_EQ(L"-Xmx1048576K", Resolve(L"-Xmx50p", Figures(2048 * kMb)));
    // Bounded above by 1024 MB and below by 256 MB.
    EXPECT_EQ(L"-Xmx1048576K", Resolve(L"-Xmx50:256:1024p", Figures(4095 * kMb)));
    EXPECT_EQ(L"-Xmx262144K", Resolve(L"-Xmx50:256:1024p", Figures(256 * kMb)));
    EXPECT_EQ(L"-Xmx393216K", Resolve(L"-Xmx50:256:1024p", Figures(768 * kMb)));
    // 10 % of 2 GB is below 512 MB.
    EXPECT_EQ(L"-Xms524288K", Resolve(L"-Xms10:512p", Figures(2048 * kMb)));
    // The lower bound wins over a smaller upper bound.
    EXPECT_EQ(L"-Xmx2097152K", Resolve(L"-Xmx10:2048:1024p", Figures(2048 * kMb)));
    // T and t use the available address space, P and p the physical memory.
    EXPECT_EQ(L"-Xmx786432K", Resolve(L"-Xmx25t", Figures(8 * kMb, 3072 * kMb)));
    EXPECT_EQ(L"-Xmx786432K", Resolve(L"-Xmx25T", Figures(8 * kMb, 3072 * kMb)));
    EXPECT_EQ(L"-Xmx2048K", Resolve(L"-Xmx25P", Figures(8 * kMb, 3072 * kMb)));
    // An empty first number is 0 %, so only the lower bound is left.
    EXPECT_EQ(L"-Xmx51200K", Resolve(L"-Xmx:50p", Figures(2048 * kMb)));
    // Truncation, not rounding.
    EXPECT_EQ(L"-Xmx3K", Resolve(L"-Xmx33p", Figures(10 * 1024)));
    // No numbers at all: the whole text is the prefix.
    EXPECT_EQ(L"-Xmxp0K", Resolve(L"-Xmxp", Figures(2048 * kMb)));
}

TEST(MemoryOptionsTest, LargeNumbersNeitherWrapNorTurnNegative)
{
    // An upper bound whose kilobytes pass 32 bits still bounds nothing here.
    EXPECT_EQ(L"-Xmx2097152K", Resolve(L"-Xmx100:0:4194304p", Figures(2048 * kMb)));
    // Sizes beyond the largest signed 32-bit number are held there.
    EXPECT_EQ(L"-Xmx2147483647K", Resolve(L"-Xmx4294967295p", Figures(4096 * kMb)));
    EXPECT_EQ(L"-Xmx2147483647K", Resolve(L"-Xmx99999999999p", Figures(4096 * kMb)));
    EXPECT_EQ(L"-Xmx2147483647K", Resolve(L"-Xmx0:4194303p", Figures(0)));
    // A 64-bit machine with more than 4 GB.
    EXPECT_EQ(L"-Xmx8388608K", Resolve(L"-Xmx50p", Figures(16384 * kMb)));
}

TEST(MemoryOptionsTest, StackSizeRule)
{
    struct Row {
        const wchar_t* parameter;
        uint32_t bytes;
    } rows[] = {
        {L"-Xss512k", 524288},
        {L"-Xss512K", 524288},
        {L"-Xss1m", 1048576},
        {L"-Xss1048576", 1048576},
        {L"-Xss1G", 1073741824},
        {L"-Xss3g", 3221225472u},
        {L"-Xss1x", 1},
        {L"-Xss4294967295", 4294967295u},
        // Values that do not fit in 32 bits fall back to the default (0).
        {L"-Xss4g", 0},
        {L"-Xss5g", 0},
        {L"-Xss4194304k", 0},
        {L"-Xss4294967296", 0},
        {L"-Xss99999999999k", 0},
        // Not one plain number.
        {L"-Xss=1m", 0},
        {L"-Xss1:2m", 0},
        {L"-Xss", 0},
        {L"-Xssk", 0},
        {L"-Xmx512k", 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.bytes, StackSizeFromParameter(String(row.parameter))) << row.parameter;
}

TEST(MemoryOptionsTest, AddVmParameterAppliesBothRulesInOrder)
{
    LauncherApp app;
    StringList working;
    app.AddVmParameter(String(L"\"-Xss512k\""), working);
    EXPECT_EQ(524288u, app.m_vmThreadStackSize);
    // A later -Xss replaces the earlier size, also with one that does not parse.
    app.AddVmParameter(String(L"-Xss=1m"), working);
    EXPECT_EQ(0u, app.m_vmThreadStackSize);
    // A relative stack size is rewritten first, then read as kilobytes.
    app.AddVmParameter(String(L"-Xss1p"), working);
    ASSERT_EQ(3, working.Count());
    EXPECT_EQ(L"-Xss512k", Std(working[0]));
    EXPECT_EQ(L"-Xss=1m", Std(working[1]));
    std::wstring rewritten = Std(working[2]);
    ASSERT_EQ(L'K', rewritten.back());
    uint32_t kb = static_cast<uint32_t>(std::stoul(rewritten.substr(4, rewritten.size() - 5)));
    EXPECT_EQ(Std(ResolveMemoryOption(String(L"-Xss1p"))), rewritten);
    EXPECT_EQ(kb * 1024u, app.m_vmThreadStackSize);
    // Other parameters leave the size alone.
    app.AddVmParameter(String(L"-Xmx512m"), working);
    EXPECT_EQ(kb * 1024u, app.m_vmThreadStackSize);
}
