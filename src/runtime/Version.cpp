#include "runtime/Version.h"

#include "base/ResourceText.h"
#include "res/resource.h"

namespace {

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

// Index of the first decimal digit at or after start, or -1.
int FindDigit(const String& text, int start)
{
    for (int i = start; i < text.Length(); ++i)
        if (IsDigit(text[i]))
            return i;
    return -1;
}

void ClearVersion(JavaVersion& version)
{
    for (int32_t& c : version.component)
        c = 0;
    version.count = 0;
}

void AppendDecimal(String& text, int32_t value)
{
    // Works on the unsigned magnitude so that the smallest int prints too.
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    wchar_t digits[12];
    int n = 0;
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        text.Append(L'-');
    while (n > 0)
        text.Append(digits[--n]);
}

bool AllComponentsAre(const JavaVersion& version, int32_t value)
{
    for (int32_t c : version.component)
        if (c != value)
            return false;
    return true;
}

}  // namespace

bool ParseVersion(const String& text, int32_t fill, JavaVersion& version)
{
    ClearVersion(version);
    int position = FindDigit(text, 0);
    if (position < 0)
        return false;

    int group = 0;
    for (;;) {
        int32_t value = 0;
        for (; position < text.Length() && IsDigit(text[position]); ++position) {
            int digit = text[position] - L'0';
            // Another digit must still fit a signed 32-bit number: beyond
            // 214748364, or at it with a digit above 7, the group is too long.
            if (value > 214748364 || (value == 214748364 && digit > 7)) {
                ClearVersion(version);
                return false;
            }
            value = value * 10 + digit;
        }
        version.component[group] = value;
        position = FindDigit(text, position);
        if (position < 0)
            break;
        if (++group == 4)
            break;
    }
    version.count = group + 1;
    for (int i = version.count; i < 4; ++i)
        version.component[i] = fill;
    return true;
}

int CompareVersions(const JavaVersion& a, const JavaVersion& b)
{
    for (int i = 0; i < 4; ++i) {
        if (a.component[i] < b.component[i])
            return -1;
        if (a.component[i] > b.component[i])
            return 1;
    }
    return 0;
}

String FormatVersion(const JavaVersion& version)
{
    int last = 3;
    while (last >= 0 && (version.component[last] == 0 || version.component[last] == kVersionOpenEnd))
        --last;
    if (last < 0)
        return String(L"0.0.0.0");
    if (last < 1)
        last = 1;
    String text;
    for (int i = 0; i <= last; ++i) {
        if (i > 0)
            text.Append(L'.');
        AppendDecimal(text, version.component[i]);
    }
    return text;
}

bool IsUnbounded(const JavaVersion& version)
{
    return AllComponentsAre(version, 0) || AllComponentsAre(version, kVersionOpenEnd);
}

bool MatchesPreferred(const JavaVersion& candidate, const JavaVersion& preferred)
{
    int significant = 4;
    while (significant > 0 && preferred.component[significant - 1] == 0)
        --significant;
    for (int i = 0; i < significant; ++i)
        if (candidate.component[i] != preferred.component[i])
            return false;
    return true;
}

String BuildRequirementText(const JavaVersion& minimum, const JavaVersion& maximum)
{
    bool hasMinimum = !IsUnbounded(minimum);
    bool hasMaximum = !IsUnbounded(maximum);
    if (!hasMinimum && !hasMaximum)
        return FormatText(TextId(IDS_VERSION_LATEST));
    if (!hasMinimum)
        return FormatText(TextId(IDS_VERSION_MAXIMUM), FormatVersion(maximum).CStr());
    if (!hasMaximum)
        return FormatText(TextId(IDS_VERSION_MINIMUM), FormatVersion(minimum).CStr());
    if (CompareVersions(minimum, maximum) == 0)
        return FormatText(TextId(IDS_VERSION_EXACT), FormatVersion(minimum).CStr());
    return FormatText(TextId(IDS_VERSION_RANGE), FormatVersion(minimum).CStr(), FormatVersion(maximum).CStr());
}
