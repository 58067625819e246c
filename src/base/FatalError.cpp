#include "base/FatalError.h"

#include <windows.h>

[[noreturn]] void RaiseFatalError(long hr)
{
    // TerminateProcess ends every thread at once: no unwinding, no exception
    // dispatch and so no crash dialog (Wine's included).
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(hr));
    ExitProcess(static_cast<UINT>(hr));
}
