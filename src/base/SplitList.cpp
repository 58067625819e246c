#include "base/SplitList.h"

void SplitList(const String& text, const wchar_t* separator, StringList& items)
{
    items.Clear();
    int separatorLength = String::Measure(separator);
    if (text.IsEmpty())
        return;
    if (separatorLength == 0) {
        items.Append(text);
        return;
    }
    int position = 0;
    for (;;) {
        int found = text.Find(separator, position);
        if (found == String::npos) {
            items.Append(text.Mid(position));
            return;
        }
        items.Append(text.Mid(position, found - position));
        position = found + separatorLength;
        if (position >= text.Length())
            return;
    }
}
