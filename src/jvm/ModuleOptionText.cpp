#include "jvm/ModuleOptionText.h"

#include "base/SplitList.h"

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

}  // namespace

String CompactList(const String& text, wchar_t separator)
{
    const wchar_t separatorText[] = {separator, 0};
    StringList items;
    SplitList(text, separatorText, items);
    String joined;
    for (const String& item : items) {
        int start = 0;
        int end = item.Length();
        while (start < end && IsBlank(item[start]))
            ++start;
        while (end > start && IsBlank(item[end - 1]))
            --end;
        if (start == end)
            continue;
        if (!joined.IsEmpty())
            joined.Append(separator);
        joined.Append(item.Mid(start, end - start));
    }
    return joined;
}
