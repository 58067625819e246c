#pragma once

#include "base/FatalError.h"
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
