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
    return true;
}

void ReadForwardedArguments(const void* block, StringList& arguments)
{
    arguments.Clear();
    const wchar_t* area = ArgumentArea(block);
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
