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

TEST(SplashRules, VariantNamesGoBeforeTheExtension)
{
    struct Row {
        const wchar_t* path;
        const wchar_t* variant;
    };
    const Row rows[] = {
        {L"splash.png", L"splash@2x.png"},
        {L"C:\\app\\pics\\splash.screen.png", L"C:\\app\\pics\\splash.screen@2x.png"},
        {L"C:\\app.v2\\splash", L"C:\\app.v2\\splash@2x"},  // a dot in a folder is no extension
        {L"pics/splash.bmp", L"pics/splash@2x.bmp"},
        {L"C:\\app\\.png", L"C:\\app\\.png@2x"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(String(row.variant), PictureVariantPath(row.path, L"@2x")) << Narrow(row.path);
    EXPECT_EQ(100, ScalePercent(96));
    EXPECT_EQ(125, ScalePercent(120));
    EXPECT_EQ(150, ScalePercent(144));
    EXPECT_EQ(200, ScalePercent(192));
    EXPECT_EQ(100, ScalePercent(0));
}

namespace {

class ListedFiles : public FileProbe {
public:
    explicit ListedFiles(std::vector<std::wstring> names) : m_names(std::move(names)) {}
    bool Exists(const String& path) const override
    {
        for (const std::wstring& name : m_names)
            if (path.Equals((L"C:\\app\\" + name).c_str()))
                return true;
        return false;
    }

private:
    std::vector<std::wstring> m_names;
};

}  // namespace

TEST(SplashRules, TheVariantForTheScaleElseTheNearestLargerElseThePlainPicture)
{
    struct Row {
        int percent;
        std::vector<std::wstring> variants;
        const wchar_t* chosen;
        int chosenPercent;
    };
    const Row rows[] = {
        {100, {L"s@150pct.png", L"s@2x.png"}, L"s.png", 100},  // an unscaled screen
        {150, {L"s@150pct.png", L"s@2x.png"}, L"s@150pct.png", 150},
        {150, {L"s@2x.png"}, L"s@2x.png", 200},                  // the nearest larger
        {150, {L"s@125pct.png", L"s@3x.png"}, L"s@3x.png", 300},  // never a smaller one
        {150, {L"s@125pct.png"}, L"s.png", 100},                  // the plain one, scaled up
        {200, {L"s@150pct.png", L"s@2x.png"}, L"s@2x.png", 200},
        {200, {L"s@200pct.png"}, L"s@200pct.png", 200},
        {125, {}, L"s.png", 100},
        {175, {L"s@175pct.png", L"s@2x.png"}, L"s@175pct.png", 175},
    };
    for (const Row& row : rows) {
        SplashPicture chosen = ChooseSplashPicture(L"C:\\app\\s.png", row.percent, ListedFiles(row.variants));
        EXPECT_EQ(String((std::wstring(L"C:\\app\\") + row.chosen).c_str()), chosen.path) << row.percent;
        EXPECT_EQ(row.chosenPercent, chosen.percent) << row.percent;
    }
}
