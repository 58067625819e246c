#include "splash/NativeSplash.h"
#include "splash/SplashRules.h"
#include "support/common/TestFiles.h"

#include <gtest/gtest.h>

TEST(SplashRules, CentringTruncatesTowardZero)
{
    struct Row {
        int screen, size, origin;
    };
    const Row rows[] = {
        {1920, 400, 760}, {1080, 300, 390}, {1920, 2001, -40},  // wider than the screen: starts left of it
        {1080, 1081, 0},  // -1 / 2 is 0, not -1
        {1280, 65, 607},  {1024, 0, 512},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.origin, CentredOrigin(row.screen, row.size)) << row.screen << " " << row.size;
}

TEST(SplashRules, OnlyTheExactWordTrueGivesTheShadow)
{
    EXPECT_TRUE(WantsSplashShadow(L"true"));
    for (const wchar_t* other : {L"True", L"TRUE", L"", L"yes", L"1", L"true ", L" true"})
        EXPECT_FALSE(WantsSplashShadow(other)) << Narrow(other);
}

TEST(SplashRules, TheSplashLibraryIsBesideTheRuntimesBinFolder)
{
    struct Row {
        const wchar_t* jvm;
        const wchar_t* candidate;
    };
    const Row rows[] = {
        {L"C:\\rt\\bin\\server\\jvm.dll", L"C:\\rt\\bin\\splashscreen.dll"},
        {L"C:\\rt\\jre\\bin\\client\\jvm.dll", L"C:\\rt\\jre\\bin\\splashscreen.dll"},
        {L"C:\\jvm.dll", L"C:\\splashscreen.dll"},  // the second cut finds no "\"
        {L"jvm.dll", L"jvm.dll\\splashscreen.dll"},  // no "\" at all: the path stays whole
        {L"\\\\srv\\share\\bin\\server\\jvm.dll", L"\\\\srv\\share\\bin\\splashscreen.dll"},
        {L"C:/rt/bin/server/jvm.dll", L"C:/rt/bin/server/jvm.dll\\splashscreen.dll"},  // only "\" cuts
        {L"", L""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(String(row.candidate), NativeSplashLibraryCandidate(row.jvm)) << Narrow(row.jvm);
}

TEST(SplashRules, TheSplashLibraryMustExist)
{
    TempFolder runtime(L"jl-splash-");
    std::wstring jvm = runtime / L"bin\\server\\jvm.dll";
    EXPECT_TRUE(FindNativeSplashLibrary(jvm.c_str()).IsEmpty());
    ASSERT_TRUE(WriteBytes(runtime / L"bin\\splashscreen.dll", "MZ"));
    EXPECT_EQ(String((runtime / L"bin\\splashscreen.dll").c_str()), FindNativeSplashLibrary(jvm.c_str()));
    EXPECT_TRUE(FindNativeSplashLibrary(L"").IsEmpty());
}
