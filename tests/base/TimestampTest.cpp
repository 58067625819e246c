#include "base/Timestamp.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring W(const String& s) { return std::wstring(s.CStr(), s.Length()); }

SYSTEMTIME At(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms)
{
    SYSTEMTIME t = {};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    t.wMilliseconds = ms;
    // 7 December 2026 is a Monday; the day of week is not read by the
    // pictures used here.
    t.wDayOfWeek = 1;
    return t;
}

std::wstring Expand(const std::wstring& name, const SYSTEMTIME& t)
{
    String text(name.c_str(), static_cast<int>(name.size()));
    ExpandTimestamp(text, t);
    return W(text);
}

const SYSTEMTIME kMorning = At(2026, 12, 7, 9, 5, 3, 7);
const SYSTEMTIME kAfternoon = At(2026, 12, 7, 14, 30, 0, 250);

}  // namespace

TEST(TimestampTest, ExpandsDateAndTimePictures)
{
    struct Case {
        std::wstring name;
        const SYSTEMTIME& t;
        std::wstring expected;
    } cases[] = {
        {L"out_%yyyyMMdd_HHmmss%.log", kMorning, L"out_20261207_090503.log"},
        {L"%yyyy-MM-dd%", kMorning, L"2026-12-07"},
        {L"%d.M.yy H:m:s%", kMorning, L"7.12.26 9:5:3"},
        // The inner percent signs belong to the picture and stay.
        {L"a%HH%b%mm%c", kAfternoon, L"a14%b%30c"},
        // Milliseconds without leading zeros.
        {L"x%L%", kMorning, L"x7"},
        {L"x%HHmmssL%", kMorning, L"x0905037"},
        {L"%L%", kAfternoon, L"250"},
        {L"%L%", At(2026, 12, 7, 0, 0, 0, 0), L"0"},
        {L"%L-L%", At(2026, 12, 7, 0, 0, 0, 999), L"999-999"},
        // Quoted text stays as written, without its quotes; two quotes give
        // one.
        {L"%'yyyy'%", kMorning, L"yyyy"},
        {L"%'HH'%", kMorning, L"HH"},
        {L"%'debug'_yyyyMMdd%", kMorning, L"debug_20261207"},
        {L"%'L'L%", kMorning, L"L7"},
        {L"%'it''s' HH%", kMorning, L"it's 09"},
        // Letters of neither picture are copied.
        {L"%build_yyyy%", kMorning, L"buil7_2026"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, Expand(c.name, c.t));
    }
}

TEST(TimestampTest, TextsWithoutPicture)
{
    struct Case {
        std::wstring name;
        std::wstring expected;
    } cases[] = {
        {L"", L""},
        {L"plain.log", L"plain.log"},
        // A single percent sign gives an empty picture: dropped, nothing in
        // its place.
        {L"a%b", L"ab"},
        {L"%", L""},
        {L"log%", L"log"},
        // Two adjacent signs: an empty picture as well.
        {L"a%%b", L"ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, Expand(c.name, kMorning));
    }
}

TEST(TimestampTest, PictureTooLongToFormatStaysAsWritten)
{
    // 259 characters is the most a formatted picture may have.
    std::wstring fits = L"a%" + std::wstring(259, L'_') + L"%b";
    EXPECT_EQ(L"a" + std::wstring(259, L'_') + L"b", Expand(fits, kMorning));

    std::wstring tooLong = L"a%" + std::wstring(260, L'_') + L"%b";
    EXPECT_EQ(tooLong, Expand(tooLong, kMorning));
    std::wstring farTooLong = L"a%" + std::wstring(5000, L'_') + L"%b";
    EXPECT_EQ(farTooLong, Expand(farTooLong, kMorning));
    // Even when the quotes would shrink it below the limit.
    std::wstring quoted = L"%'" + std::wstring(300, L'q') + L"'%";
    EXPECT_EQ(quoted, Expand(quoted, kMorning));

    // A picture that fits as written but whose date result does not: fifty
    // month names.
    std::wstring grows;
    for (int i = 0; i < 50; ++i)
        grows += L"MMMM,";
    EXPECT_EQ(L"x%" + grows + L"%y", Expand(L"x%" + grows + L"%y", kMorning));
}

TEST(TimestampTest, AmPmDesignatorStaysAsTheLocaleWritesIt)
{
    wchar_t designator[16] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_S2359, designator, 16);
    // Formatted once: the letters of "PM" are not read again as a date.
    EXPECT_EQ(L"1405 " + std::wstring(designator), Expand(L"%HHmm tt%", At(2026, 12, 7, 14, 5, 0, 0)));
}
