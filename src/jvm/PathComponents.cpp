#include "jvm/Environment.h"

String StripLastComponents(const String& path, int count)
{
    String result(path);
    for (int i = 0; i < count; ++i) {
        int slash = result.ReverseFind(L'\\');
        if (slash != String::npos)
            result.Truncate(slash);
    }
    return result;
}
