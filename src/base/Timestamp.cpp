#include "base/Timestamp.h"

namespace {

// Formatted elements go through fixed buffers of this many characters
// (terminator included); a picture, as written or formatted, must fit one.
constexpr int kPictureBuffer = 260;

void AppendDecimal(String& text, unsigned value)
{
    wchar_t digits[12];
    int n = 0;
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value);
    while (n > 0)
        text.Append(digits[--n]);
}

bool IsTimeLetter(wchar_t c)
{
    return c == L'h' || c == L'H' || c == L'm' || c == L's' || c == L't';
}

bool IsDateLetter(wchar_t c)
{
    return c == L'd' || c == L'M' || c == L'y' || c == L'g';
}

// Formats one picture element (a run of one letter) with the time or date
// function and appends the result; false when it fails or does not fit.
// Some systems do not fail on a short buffer but cut the text off and say so
// only in the last-error value.
template <typename Formatter>
bool AppendElement(Formatter format, const SYSTEMTIME& t, const String& element, String& result)
{
    wchar_t buffer[kPictureBuffer];
    SetLastError(ERROR_SUCCESS);
    int written = format(LOCALE_USER_DEFAULT, 0, &t, element.CStr(), buffer, kPictureBuffer);
    DWORD error = GetLastError();
    if (written <= 0 || written > kPictureBuffer || error == ERROR_INSUFFICIENT_BUFFER)
        return false;
    result.Append(buffer, written - 1);  // written counts the terminator
    return true;
}

// The picture with each element replaced by its value, in one pass: time
// letters by the time function, date letters by the date function, "L" by
// the milliseconds (no leading zeros). Text in single quotes is copied
// without them, two single quotes give one, and everything else is copied as
// it is. False when an element cannot be formatted.
bool FormatPicture(const String& picture, const SYSTEMTIME& t, String& result)
{
    bool quoted = false;
    for (int i = 0; i < picture.Length();) {
        wchar_t c = picture[i];
        if (c == L'\'') {
            if (i + 1 < picture.Length() && picture[i + 1] == L'\'') {
                result.Append(L'\'');
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
            continue;
        }
        if (quoted || !(IsTimeLetter(c) || IsDateLetter(c) || c == L'L')) {
            result.Append(c);
            ++i;
            continue;
        }
        if (c == L'L') {
            AppendDecimal(result, t.wMilliseconds);
            ++i;
            continue;
        }
        int end = i + 1;
        while (end < picture.Length() && picture[end] == c)
            ++end;
        String element = picture.Mid(i, end - i);
        bool formatted = IsTimeLetter(c) ? AppendElement(GetTimeFormatW, t, element, result)
                                         : AppendElement(GetDateFormatW, t, element, result);
        if (!formatted)
            return false;
        i = end;
    }
    return true;
}

}  // namespace

void ExpandTimestamp(String& text, const SYSTEMTIME& t)
{
    int first = text.Find(L'%');
    if (first == String::npos)
        return;
    int last = text.ReverseFind(L'%');
    String picture;
    if (last > first)
        picture = text.Mid(first + 1, last - first - 1);

    // A picture that does not fit the buffer as written is not formatted at
    // all, and neither is one whose result would not.
    if (picture.Length() >= kPictureBuffer)
        return;
    String formatted;
    if (!FormatPicture(picture, t, formatted) || formatted.Length() >= kPictureBuffer)
        return;  // unexpandable: the name stays as written

    String result = text.Left(first);
    result.Append(formatted);
    result.Append(text.CStr() + last + 1, text.Length() - last - 1);
    text = static_cast<String&&>(result);
}
