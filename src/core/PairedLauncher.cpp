#include "base/EnvironmentText.h"
#include "base/Paths.h"
#include "core/LauncherApp.h"
#include "core/Messages.h"
#include "core/ModulePath.h"
#include "res/resource.h"

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
    SetEnvironmentVariableW(kHandOverMark, modulePath.CStr());  // inherited by the pair
    // Later starts must reach the process that runs the VM: the pair takes
    // this first instance's role over.
    String instanceName = HandInstanceOver();
    SetEnvironmentVariableW(kInstanceMark, instanceName.IsEmpty() ? nullptr : instanceName.CStr());

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // CreateProcessW may write into the command line it is given.
    String commandLine(GetCommandLineW());
    if (!CreateProcessW(pairPath.CStr(), commandLine.GetBuffer(commandLine.Length()), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process)) {
        DWORD error = GetLastError();
        ShowSystemError(m_hSplashWnd, TextId(IDS_WINDOWS_ERROR), pairPath.CStr(), error);
        return -1;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    if (!m_pairReturnCode)
        return 0;
    WaitForSingleObject(processHandle.get(), INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(processHandle.get(), &exitCode);
    return static_cast<int>(exitCode);
}
