#include "base/EnvironmentText.h"
#include "base/Trace.h"
#include "core/InstanceBlock.h"
#include "core/LauncherApp.h"
#include "core/Messages.h"
#include "core/ModulePath.h"
#include "core/RestartRules.h"
#include "res/resource.h"

// The restart exit code: when the Java program ends with the "Restart Code",
// through System.exit (the VM's exit hook) or through main's outcome, the
// launcher gives up its single-instance role, starts its own executable with
// the same command line in the folder it was started in, and ends with that
// code. The new process waits for the old one to end before it sets up its
// single-instance role, which it takes over under the old one's name.

namespace {

// Set in the restarted launcher's environment; removed there at once, so
// that the Java program and whatever it starts do not inherit it.
const wchar_t kRestartMark[] = L"OZ_RESTART";

// The variables the launcher sets for the Java program: the restarted
// launcher gets them as this one did.
const wchar_t* const kLaunchVariables[] = {L"OZ_JVM_PATH", L"OZ_JVM_HOME", L"Path"};

// Restarts when the Java program ends the process through System.exit; the
// VM ends the process with the code once the hook returns.
class RestartOnExit : public ExitSink {
public:
    void Exit(int code) override
    {
        LauncherApp* app = LauncherApp::Instance();
        if (app)
            app->RestartIfAsked(code);
        if (m_previous)
            m_previous->Exit(code);
    }
    void Abort() override
    {
        if (m_previous)
            m_previous->Abort();
    }
    ExitSink* m_previous = nullptr;
};

RestartOnExit g_restartOnExit;

// Whether the process was created before this one: a process id that was
// reused after the old launcher ended names a younger process. When the
// times cannot be read the process is taken for the old launcher.
bool StartedBeforeThisProcess(HANDLE process)
{
    FILETIME created, ownCreated, unused1, unused2, unused3;
    if (!GetProcessTimes(process, &created, &unused1, &unused2, &unused3) ||
        !GetProcessTimes(GetCurrentProcess(), &ownCreated, &unused1, &unused2, &unused3))
        return true;
    return CompareFileTime(&created, &ownCreated) <= 0;
}

}  // namespace

void LauncherApp::TakeRestartMark()
{
    DWORD length = GetCurrentDirectoryW(32768, m_startFolder.GetBuffer(32767));
    m_startFolder.SetLength(length <= 32767 ? static_cast<int>(length) : 0);

    m_restartMark = ReadEnvironmentVariable(kRestartMark);
    SetEnvironmentVariableW(kRestartMark, nullptr);
    if (m_restartMark.IsEmpty())
        return;
    RestartMark mark;
    if (!ParseRestartMark(m_restartMark, mark)) {
        JL_TRACE("restart mark %s not understood: ignored", m_restartMark.CStr());
        m_restartMark.Clear();
        return;
    }
    if (!mark.instanceName.IsEmpty())
        m_takenOverInstance = mark.instanceName;
    UniqueHandle parent(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, mark.parentId));
    if (!parent || !StartedBeforeThisProcess(parent.get())) {
        JL_TRACE("restarted by process %u, which has ended", static_cast<unsigned>(mark.parentId));
        return;
    }
    ULONGLONG start = GetTickCount64();
    DWORD waited = WaitForSingleObject(parent.get(), kRestartWaitMs);
    JL_TRACE("restarted by process %u; %s after %u ms", static_cast<unsigned>(mark.parentId),
             waited == WAIT_OBJECT_0 ? L"it has ended" : L"it still runs, this launch goes on",
             static_cast<unsigned>(GetTickCount64() - start));
}

void LauncherApp::PrepareRestart()
{
    if (m_restartCode == 0)
        return;
    m_restartEnvironment.Clear();
    for (const wchar_t* name : kLaunchVariables)
        m_restartEnvironment.Append(ReadEnvironmentVariable(name));
    if (m_pExitSink != &g_restartOnExit) {
        g_restartOnExit.m_previous = m_pExitSink;
        m_pExitSink = &g_restartOnExit;
    }
}

int LauncherApp::RestartIfAsked(int code)
{
    if (m_restartCode == 0 || code != m_restartCode || m_restartStarted)
        return code;
    m_restartStarted = true;
    RestartMark mark;
    ParseRestartMark(m_restartMark, mark);  // empty for the first start
    if (!RecordRestart(mark, GetTickCount64())) {
        JL_TRACE("exit code %d is the \"Restart Code\", but the application has restarted %d times within a "
                 "minute: not started again",
                 code, kRestartsPerWindow);
        return code;
    }
    String modulePath = GetModulePath();
    if (modulePath.IsEmpty())
        return code;  // the message has been shown
    mark.parentId = GetCurrentProcessId();
    mark.instanceName = HandInstanceOver();

    for (int i = 0; i < m_restartEnvironment.Count(); ++i) {
        const String& value = m_restartEnvironment[i];
        SetEnvironmentVariableW(kLaunchVariables[i], value.IsEmpty() ? nullptr : value.CStr());
    }
    SetEnvironmentVariableW(kRestartMark, FormatRestartMark(mark).CStr());
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // CreateProcessW may write into the command line it is given.
    String commandLine(GetCommandLineW());
    BOOL started = CreateProcessW(modulePath.CStr(), commandLine.GetBuffer(commandLine.Length()), nullptr, nullptr,
                                  FALSE, 0, nullptr, m_startFolder.IsEmpty() ? nullptr : m_startFolder.CStr(),
                                  &startup, &process);
    DWORD error = GetLastError();
    SetEnvironmentVariableW(kRestartMark, nullptr);
    if (!started) {
        ShowSystemError(IsWindow(m_hSplashWnd) ? m_hSplashWnd : nullptr, TextId(IDS_WINDOWS_ERROR), modulePath.CStr(),
                        error);
        return code;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    // Later starts that come meanwhile wait for the new process's listener
    // instead of giving up when this process ends.
    if (!mark.instanceName.IsEmpty() && m_pInstanceBlock)
        WriteBlockField(m_pInstanceBlock.get(), kProcessIdOffset, process.dwProcessId);
    JL_TRACE("exit code %d is the \"Restart Code\": started again as process %u (restart %d within a minute)", code,
             static_cast<unsigned>(process.dwProcessId), mark.count);
    return code;
}
