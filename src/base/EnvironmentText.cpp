#include "base/EnvironmentText.h"

#include <windows.h>

String ExpandEnvironment(const String& text)
{
    DWORD size = ExpandEnvironmentStringsW(text.CStr(), nullptr, 0);
    // The environment may grow between the calls (another thread setting a
    // variable), so the buffer is sized again until the result fits.
    while (size != 0 && size <= 0x7FFFFFFE) {
        String expanded;
        wchar_t* buffer = expanded.GetBuffer(static_cast<int>(size));
        DWORD needed = ExpandEnvironmentStringsW(text.CStr(), buffer, size);
        if (needed == 0)
            break;
        if (needed <= size) {
            expanded.SetLength(static_cast<int>(size));
            expanded.SetLengthToTerminator();
            return expanded;
        }
        size = needed;
    }
    return text;
}

String ReadEnvironmentVariable(const wchar_t* name)
{
    String value;
    DWORD size = MAX_PATH;
    // A second round is enough unless another thread changes the variable
    // between the calls; a third gives up with the empty value.
    for (int round = 0; round < 3; ++round) {
        DWORD length = GetEnvironmentVariableW(name, value.GetBuffer(static_cast<int>(size)), size);
        if (length < size) {
            value.SetLength(static_cast<int>(length));  // 0 when the variable is not set
            return value;
        }
        size = length;  // the size needed, terminator included
    }
    value.SetLength(0);
    return value;
}
