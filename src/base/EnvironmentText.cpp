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
