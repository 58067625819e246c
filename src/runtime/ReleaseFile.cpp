#include "runtime/ReleaseFile.h"

namespace {

const char kVersionKey[] = "JAVA_VERSION=";
constexpr int kVersionKeyLength = sizeof(kVersionKey) - 1;
// A value longer than this is no version; it is not parsed.
constexpr int kLongestVersionValue = 128;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

bool StartsWithKey(const char* line, int length)
{
    if (length < kVersionKeyLength)
        return false;
    for (int i = 0; i < kVersionKeyLength; ++i)
        if (line[i] != kVersionKey[i])
            return false;
    return true;
}

bool ParseValue(const char* value, int length, JavaVersion& version)
{
    int start = 0;
    int end = length;
    while (start < end && IsBlank(value[start]))
        ++start;
    while (end > start && IsBlank(value[end - 1]))
        --end;
    if (start < end && value[start] == '"')
        ++start;
    if (end > start && value[end - 1] == '"')
        --end;
    if (end - start > kLongestVersionValue)
        return false;
    // Only digits matter to the version parser; other bytes become '?'.
    String text;
    for (int i = start; i < end; ++i) {
        char c = value[i];
        text += (c > 0 && c < 0x7F) ? static_cast<wchar_t>(c) : L'?';
    }
    return ParseVersion(text, 0, version);
}

}  // namespace

bool ParseReleaseVersion(const char* bytes, int length, JavaVersion& version)
{
    version = JavaVersion();
    if (!bytes || length <= 0)
        return false;
    int lineStart = 0;
    if (length >= 3 && bytes[0] == '\xEF' && bytes[1] == '\xBB' && bytes[2] == '\xBF')
        lineStart = 3;  // a UTF-8 byte-order mark
    while (lineStart < length) {
        int lineEnd = lineStart;
        while (lineEnd < length && bytes[lineEnd] != '\n')
            ++lineEnd;
        if (StartsWithKey(bytes + lineStart, lineEnd - lineStart)) {
            if (ParseValue(bytes + lineStart + kVersionKeyLength, lineEnd - lineStart - kVersionKeyLength, version))
                return true;
            version = JavaVersion();
            return false;
        }
        lineStart = lineEnd + 1;
    }
    return false;
}
