#include "jvm/ModuleOptionText.h"

#include "base/SplitList.h"
#include "jvm/ClassPathRules.h"

String CompactList(const String& text, wchar_t separator)
{
    const wchar_t separatorText[] = {separator, 0};
    StringList items;
    SplitList(text, separatorText, items);
    String joined;
    for (const String& item : items) {
        String name = TrimBlanks(item);
        if (name.IsEmpty())
            continue;
        if (!joined.IsEmpty())
            joined.Append(separator);
        joined.Append(name);
    }
    return joined;
}
