#include "base/EnvironmentText.h"
#include "base/Paths.h"
#include "core/LauncherApp.h"
#include "core/Messages.h"
#include "core/ModulePath.h"
#include "res/resource.h"
#include "runtime/PeImageView.h"

// The hand-over to the paired launcher, which runs runtimes this launcher
// cannot load. A launcher started by a hand-over finds a mark in its
// environment and never hands over again: two launchers that name each other
// (or one that names itself) would otherwise start each other for ever.

namespace {

const wchar_t kHandOverMark[] = L"OZ_PAIR_HANDOVER";
// Set when a single-instance application's first instance hands over: the
// name of its single-instance objects, under which the pair takes the role.
const wchar_t kInstanceMark[] = L"OZ_PAIR_INSTANCE";

// Whether two paths name the same file, by the file's identity, so that
// another spelling of the path (case, short names, links) does not hide it.
bool IsSameFile(const String& a, const String& b)
{
    FileIdentity first, second;
    return GetFileIdentity(a, first) && GetFileIdentity(b, second) && first == second;
}

// This program's subsystem, from its own headers in memory.
WORD OwnSubsystem()
{
    const BYTE* base = reinterpret_cast<const BYTE*>(GetModuleHandleW(nullptr));
    const IMAGE_DOS_HEADER* dosHeader = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    return reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dosHeader->e_lfanew)->OptionalHeader.Subsystem;
}

bool IsGuiOrConsole(WORD subsystem)
{
    return subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI || subsystem == IMAGE_SUBSYSTEM_WINDOWS_CUI;
}

// A console pair shares this process's console; it also gets the three
// standard handles, whatever they are (console, pipe, file), through
// inheritable copies that live until the pair has been started.
struct StandardStreams {
    UniqueHandle copies[3];

    void PassTo(STARTUPINFOW& startup)
    {
        const DWORD ids[3] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
        HANDLE* targets[3] = {&startup.hStdInput, &startup.hStdOutput, &startup.hStdError};
        for (int i = 0; i < 3; ++i) {
            HANDLE handle = GetStdHandle(ids[i]);
            HANDLE copy = nullptr;
            if (handle && handle != INVALID_HANDLE_VALUE &&
                DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE,
                                DUPLICATE_SAME_ACCESS)) {
                copies[i].reset(copy);
                handle = copy;
            }
            *targets[i] = handle;
        }
        startup.dwFlags |= STARTF_USESTDHANDLES;
    }
};

// While a console launcher waits for its pair, Ctrl+C and Ctrl+Break belong
// to the pair's Java runtime, which decides how the program ends: this
// process lets them pass instead of ending before the pair.
BOOL WINAPI LeaveControlEventsToPair(DWORD event)
{
    return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
}

}  // namespace

void LauncherApp::TakeHandOverMark()
{
    m_startedByHandOver = GetEnvironmentVariableW(kHandOverMark, nullptr, 0) != 0;
    if (m_startedByHandOver)
        m_takenOverInstance = ReadEnvironmentVariable(kInstanceMark);
    // The Java program and whatever it starts do not inherit the marks.
    SetEnvironmentVariableW(kHandOverMark, nullptr);
    SetEnvironmentVariableW(kInstanceMark, nullptr);
}

int LauncherApp::StartPairedLauncher()
{
    String modulePath = GetModulePath();
    if (modulePath.IsEmpty())
        return -1;  // the message has been shown
    const String& pairPath = m_pairProduct;  // made absolute when the settings were read
    if (m_startedByHandOver || IsSameFile(pairPath, modulePath)) {
        ShowFormattedError(m_hSplashWnd, TextId(IDS_PAIR_HANDOVER_LOOP), pairPath.CStr());
        return -1;
    }
    // A console launcher's streams would be lost behind a GUI one, and the
    // other way round.
    WORD ownSubsystem = OwnSubsystem();
    WORD pairSubsystem = PeImageView(pairPath).Subsystem();
    if (IsGuiOrConsole(pairSubsystem) && IsGuiOrConsole(ownSubsystem) && pairSubsystem != ownSubsystem) {
        ShowFormattedError(m_hSplashWnd, TextId(IDS_PAIR_SUBSYSTEM_MISMATCH), pairPath.CStr());
        return -1;
    }
    SetEnvironmentVariableW(kHandOverMark, modulePath.CStr());  // inherited by the pair
    // Later starts must reach the process that runs the VM: the pair takes
    // this first instance's role over.
    String instanceName = HandInstanceOver();
    SetEnvironmentVariableW(kInstanceMark, instanceName.IsEmpty() ? nullptr : instanceName.CStr());

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    bool console = ownSubsystem == IMAGE_SUBSYSTEM_WINDOWS_CUI;
    StandardStreams streams;
    if (console)
        streams.PassTo(startup);
    // CreateProcessW may write into the command line it is given.
    String commandLine(GetCommandLineW());
    if (!CreateProcessW(pairPath.CStr(), commandLine.GetBuffer(commandLine.Length()), nullptr, nullptr, console, 0,
                        nullptr, nullptr, &startup, &process)) {
        DWORD error = GetLastError();
        ShowSystemError(m_hSplashWnd, TextId(IDS_WINDOWS_ERROR), pairPath.CStr(), error);
        return -1;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    if (!m_pairReturnCode)
        return 0;
    if (console)
        SetConsoleCtrlHandler(LeaveControlEventsToPair, TRUE);
    WaitForSingleObject(processHandle.get(), INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(processHandle.get(), &exitCode);
    return static_cast<int>(exitCode);
}
