#pragma once

#include "base/List.h"
#include "base/Text.h"

#include <string>
#include <vector>

inline std::wstring Std(const String& text)
{
    return std::wstring(text.CStr(), text.Length());
}

inline std::vector<std::wstring> Std(const StringList& list)
{
    std::vector<std::wstring> result;
    for (const String& item : list)
        result.push_back(Std(item));
    return result;
}
