#pragma once

#include "base/FatalError.h"
#include "base/List.h"
#include "base/Text.h"

// "Call, and if the buffer was too small, double it and call again" for
// system functions that truncate silently. read(buffer, size) fills at most
// size units and returns the length it reports; a length of exactly
// size - truncatedSlack means the text may have been cut, so the call is
// repeated with twice the size (initialSize, 2 * initialSize, ...). Returns
// the final reported length; the units are in text's buffer, whose length is
// left for the caller to set.
template <typename Read>
int ReadIntoGrowingBuffer(String& text, int initialSize, int truncatedSlack, Read read)
{
    for (int size = initialSize;; size *= 2) {
        wchar_t* buffer = text.GetBuffer(size);
        int length = read(buffer, size);
        if (length != size - truncatedSlack)
            return length;
        if (size > 0x3FFFFFFF / 2)
            RaiseFatalError(kFatalOutOfMemory);
    }
}

// For the profile functions that fill a buffer with zero-separated texts
// ended by a second zero (they report size - 2 when the buffer was too
// small): appends each non-empty text to items.
template <typename Read>
void ReadZeroSeparatedList(StringList& items, Read read)
{
    String buffer;
    const wchar_t* units = nullptr;
    int usedSize = 0;
    int length = ReadIntoGrowingBuffer(buffer, 256, 2, [&](wchar_t* filled, int size) {
        units = filled;
        usedSize = size;
        return read(filled, size);
    });
    // The unit at index length is the final terminator, which ends the last text.
    if (length < 0 || length >= usedSize)
        length = usedSize - 1;
    for (int start = 0; start <= length;) {
        int end = start;
        while (end < length && units[end] != 0)
            ++end;
        if (end > start)
            items.Append(String(units + start, end - start));
        start = end + 1;
    }
}
