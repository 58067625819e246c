#include "runtime/ReleaseFile.h"

namespace {

// A value longer than this is no version; it is not parsed.
constexpr int kLongestVersionValue = 128;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// True when text (length bytes) starts with the NUL-ended prefix.
bool StartsWith(const char* text, int length, const char* prefix)
{
    int i = 0;
    for (; prefix[i]; ++i)
        if (i >= length || text[i] != prefix[i])
            return false;
    return true;
}

int LengthOf(const char* text)
{
    int n = 0;
    while (text[n])
        ++n;
    return n;
}

}  // namespace

bool FindReleaseValue(const char* bytes, int length, const char* name, const char*& value, int& valueLength)
{
    if (!bytes || length <= 0)
        return false;
    const int nameLength = LengthOf(name);
    int lineStart = 0;
    if (length >= 3 && bytes[0] == '\xEF' && bytes[1] == '\xBB' && bytes[2] == '\xBF')
        lineStart = 3;  // a UTF-8 byte-order mark
    while (lineStart < length) {
        int lineEnd = lineStart;
        while (lineEnd < length && bytes[lineEnd] != '\n')
            ++lineEnd;
        const char* line = bytes + lineStart;
        int lineLength = lineEnd - lineStart;
        if (StartsWith(line, lineLength, name) && lineLength > nameLength && line[nameLength] == '=') {
            int start = nameLength + 1;
            int end = lineLength;
            while (start < end && IsBlank(line[start]))
                ++start;
            while (end > start && IsBlank(line[end - 1]))
                --end;
            if (start < end && line[start] == '"')
                ++start;
            if (end > start && line[end - 1] == '"')
                --end;
            value = line + start;
            valueLength = end - start;
            return true;
        }
        lineStart = lineEnd + 1;
    }
    return false;
}

bool ParseReleaseVersion(const char* bytes, int length, JavaVersion& version)
{
    version = JavaVersion();
    const char* value = nullptr;
    int valueLength = 0;
    if (!FindReleaseValue(bytes, length, "JAVA_VERSION", value, valueLength) || valueLength > kLongestVersionValue)
        return false;
    // Only digits matter to the version parser; other bytes become '?'.
    String text;
    for (int i = 0; i < valueLength; ++i) {
        char c = value[i];
        text += (c > 0 && c < 0x7F) ? static_cast<wchar_t>(c) : L'?';
    }
    if (ParseVersion(text, 0, version))
        return true;
    version = JavaVersion();
    return false;
}

bool ReleaseTextNamesIbm(const char* bytes, int length)
{
    const char* value = nullptr;
    int valueLength = 0;
    if (!FindReleaseValue(bytes, length, "IMPLEMENTOR", value, valueLength))
        return false;
    return StartsWith(value, valueLength, "IBM") || StartsWith(value, valueLength, "International Business Machines");
}
