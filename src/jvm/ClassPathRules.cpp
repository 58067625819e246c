#include "jvm/ClassPathRules.h"

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

}  // namespace

String CleanClassPathItem(const String& item)
{
    int start = 0;
    int end = item.Length();
    while (start < end && IsBlank(item[start]))
        ++start;
    while (end > start && IsBlank(item[end - 1]))
        --end;
    String cleaned = item.Mid(start, end - start);
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
