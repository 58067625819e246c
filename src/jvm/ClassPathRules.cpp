#include "jvm/ClassPathRules.h"

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

}  // namespace

String TrimBlanks(const String& text)
{
    int start = 0;
    int end = text.Length();
    while (start < end && IsBlank(text[start]))
        ++start;
    while (end > start && IsBlank(text[end - 1]))
        --end;
    return text.Mid(start, end - start);
}

String CleanClassPathItem(const String& item)
{
    String cleaned = TrimBlanks(item);
    cleaned.ReplaceAll(L'/', L'\\');
    return cleaned;
}

bool IsAbsoluteClassPathItem(const String& item)
{
    if (item.Length() < 2)
        return false;
    return item[1] == L':' || (item[0] == L'\\' && item[1] == L'\\');
}

bool IsWildcardClassPathItem(const String& item)
{
    return item.Contains(L'*');
}
