#include "jvm/RuntimeRelease.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

bool StartsWith(const char* text, size_t length, const char* prefix)
{
    size_t i = 0;
    for (; prefix[i]; ++i)
        if (i >= length || text[i] != prefix[i])
            return false;
    return true;
}

size_t PrefixLength(const char* prefix)
{
    size_t n = 0;
    while (prefix[n])
        ++n;
    return n;
}

}  // namespace

bool ReleaseTextNamesIbm(const char* text, size_t length)
{
    static const char kKey[] = "IMPLEMENTOR=";
    size_t lineStart = 0;
    while (lineStart < length) {
        size_t lineEnd = lineStart;
        while (lineEnd < length && text[lineEnd] != '\n')
            ++lineEnd;
        const char* line = text + lineStart;
        size_t lineLength = lineEnd - lineStart;
        if (StartsWith(line, lineLength, kKey)) {
            const char* value = line + PrefixLength(kKey);
            size_t valueLength = lineLength - PrefixLength(kKey);
            while (valueLength > 0 && IsBlank(*value)) {
                ++value;
                --valueLength;
            }
            if (valueLength > 0 && *value == '"') {
                ++value;
                --valueLength;
            }
            return StartsWith(value, valueLength, "IBM") ||
                   StartsWith(value, valueLength, "International Business Machines");
        }
        lineStart = lineEnd + 1;
    }
    return false;
}
