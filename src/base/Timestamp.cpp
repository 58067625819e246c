#include "base/Timestamp.h"

namespace {

// The pictures are formatted into fixed buffers of this many characters
// (terminator included); longer results count as failures.
constexpr int kPictureBuffer = 260;

String Decimal(unsigned value)
{
    wchar_t digits[12];
    int n = 0;
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value);
    String result;
    while (n > 0)
        result.Append(digits[--n]);
    return result;
}

// Every "L" of picture replaced by the milliseconds.
String WithMilliseconds(const String& picture, WORD milliseconds)
{
    if (!picture.Contains(L'L'))
        return picture;
    String ms = Decimal(milliseconds);
    String result;
    for (int i = 0; i < picture.Length(); ++i) {
        if (picture[i] == L'L')
            result.Append(ms);
        else
            result.Append(picture[i]);
    }
    return result;
}

// One formatting step into a 260-character buffer; false when it fails or
// the result does not fit. Some systems do not fail on a short buffer but
// cut the text off and say so only in the last-error value.
template <typename Formatter>
bool FormatPicture(Formatter format, const SYSTEMTIME& t, String& picture)
{
    String formatted;
    wchar_t* buffer = formatted.GetBuffer(kPictureBuffer - 1);
    SetLastError(ERROR_SUCCESS);
    int written = format(LOCALE_USER_DEFAULT, 0, &t, picture.CStr(), buffer, kPictureBuffer);
    DWORD error = GetLastError();
    if (written <= 0 || written > kPictureBuffer || error == ERROR_INSUFFICIENT_BUFFER)
        return false;
    formatted.SetLength(written - 1);  // written counts the terminator
    picture = static_cast<String&&>(formatted);
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
    // all (some systems' formatters overrun their own storage on such input).
    if (picture.Length() >= kPictureBuffer)
        return;

    if (!picture.IsEmpty()) {
        picture = WithMilliseconds(picture, t.wMilliseconds);
        // The time step runs first; its output is read again as a date
        // picture. An empty time result needs no date step (an empty picture
        // is not one the date functions take).
        if (!FormatPicture(GetTimeFormatW, t, picture))
            return;  // unexpandable: the name stays as written
        if (!picture.IsEmpty() && !FormatPicture(GetDateFormatW, t, picture))
            return;
    }

    String result = text.Left(first);
    result.Append(picture);
    result.Append(text.CStr() + last + 1, text.Length() - last - 1);
    text = static_cast<String&&>(result);
}
