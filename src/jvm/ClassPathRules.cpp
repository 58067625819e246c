#include "jvm/ClassPathRules.h"

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
