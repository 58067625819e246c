#include "core/InstanceBlock.h"

namespace {

static_assert(sizeof(wchar_t) == 2, "the argument area holds UTF-16 units");

wchar_t* ArgumentArea(void* block)
{
    return reinterpret_cast<wchar_t*>(static_cast<char*>(block) + kArgumentAreaOffset);
}

const wchar_t* ArgumentArea(const void* block)
{
    return reinterpret_cast<const wchar_t*>(static_cast<const char*>(block) + kArgumentAreaOffset);
}

}  // namespace

int64_t ForwardedArgumentsSize(const StringList& arguments)
{
    int64_t size = 2;
    for (const String& argument : arguments)
        size += 2 * static_cast<int64_t>(argument.Length()) + 2;
    return size;
}

bool WriteForwardedArguments(void* block, const StringList& arguments)
{
    if (ForwardedArgumentsSize(arguments) > kForwardedBytesLimit)
        return false;
    wchar_t* area = ArgumentArea(block);
    for (int i = 0; i < kForwardedBytesLimit / 2; ++i)
        area[i] = 0;
    // The cleared area supplies every terminator.
    int at = 0;
    for (const String& argument : arguments) {
        for (int i = 0; i < argument.Length(); ++i)
            area[at++] = argument[i];
        ++at;
    }
    WriteBlockField(block, kArgumentCountOffset, static_cast<uint32_t>(arguments.Count()) + 1);
    return true;
}

namespace {

// Exactly count arguments from the part of the area a later start fills;
// false when they do not end inside it.
bool ReadCountedArguments(const wchar_t* area, uint32_t count, StringList& arguments)
{
    const int units = kForwardedBytesLimit / 2;
    int at = 0;
    for (uint32_t i = 0; i < count; ++i) {
        int end = at;
        while (end < units && area[end] != 0)
            ++end;
        if (end >= units)
            return false;
        arguments.Append(String(area + at, end - at));
        at = end + 1;
    }
    return true;
}

// The old rule: arguments up to the first empty one.
void ReadArgumentsToEmptyOne(const wchar_t* area, StringList& arguments)
{
    const int units = (kArgumentScanEnd - kArgumentAreaOffset) / 2;
    String current;
    for (int i = 0; i < units; ++i) {
        if (area[i] != 0) {
            current += area[i];
            continue;
        }
        arguments.Append(current);
        current.Clear();
        if (i + 1 < units && area[i + 1] == 0)
            return;
    }
}

}  // namespace

void ReadForwardedArguments(void* block, StringList& arguments)
{
    arguments.Clear();
    const wchar_t* area = ArgumentArea(static_cast<const void*>(block));
    uint32_t counted = ReadBlockField(block, kArgumentCountOffset);
    bool read = counted > 1 && ReadCountedArguments(area, counted - 1, arguments);
    if (!read) {
        arguments.Clear();
        ReadArgumentsToEmptyOne(area, arguments);
    }
    WriteBlockField(block, kArgumentCountOffset, 0);
}

