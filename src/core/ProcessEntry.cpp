// The launcher's process entry point. The executables are linked without the
// C runtime's start-up code: nothing of it is needed (the launcher reads its
// command line from the system, allocates on the process heap and ends with
// ExitProcess), and leaving it out keeps its code, its unwind tables and its
// sections out of the launcher. What remains of its duties is done here:
// static constructors before the launcher runs, exit functions after it.
#include "core/LaunchTrace.h"
#include "core/LauncherApp.h"

#include <stdlib.h>

// Filled by the linker: -1, the static constructors, 0.
extern "C" void (*__CTOR_LIST__[])();

namespace {

using ExitFunction = void(__cdecl*)();

constexpr int kMaxExitFunctions = 16;
ExitFunction g_exitFunctions[kMaxExitFunctions];
int g_exitFunctionCount;

void RunStaticConstructors()
{
    int count = 0;
    while (__CTOR_LIST__[count + 1])
        ++count;
    // Called from the end of the list, the order the compiler lays it out for.
    for (; count > 0; --count)
        __CTOR_LIST__[count]();
}

void RunExitFunctions()
{
    while (g_exitFunctionCount > 0)
        g_exitFunctions[--g_exitFunctionCount]();
}

int RunLauncher()
{
    StartLaunchTrace();
    int exitCode = -1;
    {
        LauncherApp app;
        SetThreadLocale(GetSystemDefaultLCID());
        DefWindowProcW(nullptr, WM_NULL, 0, 0);
        if (app.Initialize())
            exitCode = app.Run();
    }
    JL_TRACE("exit code %d", exitCode);
    return exitCode;
}

}  // namespace

// Static objects with destructors and the code that asks for a clean-up at
// exit register here; they run in reverse order when the launcher returns.
// When the Java program ends the process itself, they do not run, exactly as
// with the C runtime's table.
extern "C" int __cdecl atexit(ExitFunction function)
{
    if (g_exitFunctionCount == kMaxExitFunctions)
        return -1;
    g_exitFunctions[g_exitFunctionCount++] = function;
    return 0;
}

// The system calls the entry with the stack aligned to 4 bytes on x86; the
// compiler's code may assume 16, as it does after the C runtime's start-up.
extern "C" __attribute__((force_align_arg_pointer)) void WINAPI LauncherEntry()
{
    RunStaticConstructors();
    int exitCode = RunLauncher();
    RunExitFunctions();
    ExitProcess(static_cast<UINT>(exitCode));
}
