#include "support/harness/Harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

namespace {

const UINT kPollMs = 50;
const UINT kMessageTimeoutMs = 2000;
const int kMessageBoxTextId = 0xFFFF;

struct NoCaseLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const
    {
        return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                    TRUE) == CSTR_LESS_THAN;
    }
};

std::wstring QuoteArgument(const std::wstring& argument)
{
    if (argument.empty() || argument.find_first_of(L" \t") != std::wstring::npos)
        return L"\"" + argument + L"\"";
    return argument;
}

std::wstring BuildCommandLine(const AppFolder& app, const LaunchOptions& options)
{
    std::wstring commandLine = L"\"" + app.Launcher() + L"\"";
    if (!options.rawCommandTail.empty())
        return commandLine + L" " + options.rawCommandTail;
    for (const std::wstring& argument : options.args)
        commandLine += L" " + QuoteArgument(argument);
    return commandLine;
}

// The current environment with the launch's changes, as a block for CreateProcessW.
std::vector<wchar_t> BuildEnvironment(const AppFolder& app, const LaunchOptions& options)
{
    std::map<std::wstring, std::wstring, NoCaseLess> variables;
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* entry = block; entry && *entry; entry += wcslen(entry) + 1) {
        std::wstring text = entry;
        // Names of the per-drive current folders begin with "=".
        size_t equals = text.find(L'=', 1);
        if (equals == std::wstring::npos)
            continue;
        variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    if (block)
        FreeEnvironmentStringsW(block);

    variables[L"JL_FAKEJVM_LOG"] = app.LogPath();
    for (const auto& change : options.env) {
        if (change.second.empty())
            variables.erase(change.first);
        else
            variables[change.first] = change.second;
    }

    std::vector<wchar_t> result;
    for (const auto& variable : variables) {
        std::wstring entry = variable.first + L"=" + variable.second;
        result.insert(result.end(), entry.begin(), entry.end());
        result.push_back(L'\0');
    }
    result.push_back(L'\0');
    if (result.size() == 1)
        result.push_back(L'\0');
    return result;
}

std::wstring ClassNameOf(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring WindowText(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length))
        return std::wstring();
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                             kMessageTimeoutMs, &copied))
        return std::wstring();
    text.resize(std::min<size_t>(copied, length));
    return text;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
    return TRUE;
}

std::vector<HWND> ChildWindows(HWND parent)
{
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

struct TopLevelSearch {
    const std::set<DWORD>* processIds;
    bool visibleOnly;
    std::vector<std::pair<HWND, DWORD>> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param)
{
    TopLevelSearch* search = reinterpret_cast<TopLevelSearch*>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (search->processIds->count(processId) && (!search->visibleOnly || IsWindowVisible(window)))
        search->found.emplace_back(window, processId);
    return TRUE;
}

std::vector<std::pair<HWND, DWORD>> TopLevelWindowsOf(const std::set<DWORD>& processIds, bool visibleOnly = true)
{
    TopLevelSearch search{&processIds, visibleOnly, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsDialog(const SeenWindow& window)
{
    return window.className == L"#32770";
}

SeenWindow Describe(HWND window, DWORD processId)
{
    SeenWindow seen;
    seen.hwnd = window;
    seen.processId = processId;
    seen.className = ClassNameOf(window);
    seen.title = WindowText(window);
    // A message box has one static text with the id 0xFFFF and no edit
    // field; a dialog may give that id (-1 in its template) to its labels.
    int unnamedStatics = 0;
    bool hasEdit = false;
    std::wstring unnamedText;
    for (HWND child : ChildWindows(window)) {
        int id = GetDlgCtrlID(child);
        std::wstring text = WindowText(child);
        auto existing = seen.controlTexts.find(id);
        if (existing == seen.controlTexts.end())
            seen.controlTexts[id] = text;
        else if (!text.empty())
            existing->second += (existing->second.empty() ? L"" : L"\n") + text;
        hasEdit = hasEdit || ClassNameOf(child) == L"Edit";
        if (IsDialog(seen) && (id & 0xFFFF) == kMessageBoxTextId && ClassNameOf(child) == L"Static") {
            ++unnamedStatics;
            unnamedText = text;
        }
    }
    if (unnamedStatics == 1 && !hasEdit) {
        seen.isMessageBox = true;
        seen.text = unnamedText;
    }
    return seen;
}

int DefaultButton(const SeenWindow& window)
{
    if (window.isMessageBox)
        return IDOK;
    if (HWND ok = GetDlgItem(window.hwnd, IDOK))
        return IsWindowEnabled(ok) || !GetDlgItem(window.hwnd, IDCANCEL) ? IDOK : IDCANCEL;
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window.hwnd, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result) &&
        HIWORD(result) == DC_HASDEFID)
        return LOWORD(result);
    return IDOK;
}

void PressButton(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// Wine starts its own helper processes (explorer.exe for the desktop) from
// whichever process first needs them; they live in the Windows folder.
bool IsSystemProcess(DWORD processId)
{
    static const std::wstring windowsFolder = [] {
        wchar_t folder[MAX_PATH] = {};
        UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
        return std::wstring(folder, length) + L"\\";
    }();
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return false;
    wchar_t image[MAX_PATH * 2] = {};
    DWORD length = MAX_PATH * 2;
    bool system = QueryFullProcessImageNameW(process, 0, image, &length) &&
                  CompareStringOrdinal(image, static_cast<int>(std::min<size_t>(length, windowsFolder.size())),
                                       windowsFolder.c_str(), static_cast<int>(windowsFolder.size()),
                                       TRUE) == CSTR_EQUAL;
    CloseHandle(process);
    return system;
}

// The launcher and everything it started (they all run inside the job),
// except Wine's own helpers.
std::set<DWORD> JobProcessIds(HANDLE job, DWORD childId)
{
    std::set<DWORD> ids{childId};
    if (!job)
        return ids;
    struct {
        JOBOBJECT_BASIC_PROCESS_ID_LIST list;
        ULONG_PTR more[63];
    } buffer = {};
    buffer.list.NumberOfAssignedProcesses = 64;
    if (QueryInformationJobObject(job, JobObjectBasicProcessIdList, &buffer, sizeof(buffer), nullptr)) {
        for (DWORD i = 0; i < buffer.list.NumberOfProcessIdsInList && i < 64; ++i) {
            // ProcessIdList is declared with one element: read the ids through
            // memcpy so the compiler cannot assume only the first exists.
            ULONG_PTR raw = 0;
            memcpy(&raw, reinterpret_cast<const char*>(buffer.list.ProcessIdList) + i * sizeof(ULONG_PTR), sizeof(raw));
            DWORD id = static_cast<DWORD>(raw);
            if (id != childId && !IsSystemProcess(id))
                ids.insert(id);
        }
    }
    return ids;
}

// Whether processes the launcher started (a paired launcher) still run.
bool OthersStillRunning(HANDLE job, DWORD childId)
{
    return JobProcessIds(job, childId).size() > 1;
}

bool RunningUnderWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Under Wine without a window manager, every window that is hidden makes its
// process wait two seconds for a window-manager reply that never comes. Wine
// skips that wait for windows it does not hand to a window manager, so the
// test prefix is told to hand over none. An explicit setting is left alone.
void TellWineToManageNoWindows()
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    if (RegQueryValueExW(key, L"Managed", nullptr, nullptr, nullptr, nullptr) == ERROR_FILE_NOT_FOUND) {
        const wchar_t no[] = L"N";
        RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(no), sizeof(no));
    }
    RegCloseKey(key);
}

// Once per test process; launches may run on several threads.
void AvoidWindowManagerWaits()
{
    static const bool done = RunningUnderWine() && (TellWineToManageNoWindows(), true);
    (void)done;
}

HANDLE CreateKillOnCloseJob()
{
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (!job)
        return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    return job;
}

// What a hung launch showed, for the failure message.
std::string DescribeForFailure(const std::vector<SeenWindow>& recorded,
                               const std::vector<std::pair<HWND, DWORD>>& present)
{
    std::string text = "windows recorded:";
    for (const SeenWindow& window : recorded)
        text += " [" + Narrow(window.className) + " \"" + Narrow(window.title) + "\" \"" + Narrow(window.text) + "\"]";
    text += "; top-level windows now:";
    for (const auto& window : present) {
        text += " [" + Narrow(ClassNameOf(window.first)) + " \"" + Narrow(WindowText(window.first)) + "\"" +
                (IsWindowVisible(window.first) ? " visible" : " hidden") + "]";
    }
    return text;
}

// Pipes for the launcher's standard streams: an empty one for its input and
// two whose bytes threads collect until every writer has let go.
class CapturedStreams {
public:
    ~CapturedStreams()
    {
        for (HANDLE handle : {m_input, m_output, m_error, m_outRead, m_errRead, m_outThread, m_errThread})
            if (handle)
                CloseHandle(handle);
    }
    bool Open()
    {
        SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
        HANDLE inputWrite = nullptr;
        if (!CreatePipe(&m_input, &inputWrite, &inheritable, 0))
            return false;
        CloseHandle(inputWrite);
        if (!CreatePipe(&m_outRead, &m_output, &inheritable, 0) || !CreatePipe(&m_errRead, &m_error, &inheritable, 0))
            return false;
        SetHandleInformation(m_outRead, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(m_errRead, HANDLE_FLAG_INHERIT, 0);
        m_outThread = CreateThread(nullptr, 0, Drain, this, 0, nullptr);
        m_errThread = CreateThread(nullptr, 0, DrainError, this, 0, nullptr);
        return m_outThread && m_errThread;
    }
    void PassTo(STARTUPINFOW& startup) const
    {
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdInput = m_input;
        startup.hStdOutput = m_output;
        startup.hStdError = m_error;
    }
    // After the start: only the launcher (and what it starts) holds the write ends.
    void CloseChildEnds()
    {
        for (HANDLE* handle : {&m_input, &m_output, &m_error}) {
            if (*handle)
                CloseHandle(*handle);
            *handle = nullptr;
        }
    }
    void Collect(LaunchResult& result)
    {
        CloseChildEnds();
        for (HANDLE thread : {m_outThread, m_errThread}) {
            if (thread && WaitForSingleObject(thread, 15000) != WAIT_OBJECT_0) {
                ADD_FAILURE() << "a standard stream of the launcher was not closed";
                CancelSynchronousIo(thread);
                WaitForSingleObject(thread, 5000);
            }
        }
        result.out = m_outBytes;
        result.err = m_errBytes;
    }

private:
    static void ReadAll(HANDLE pipe, std::string& bytes)
    {
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(pipe, buffer, sizeof(buffer), &read, nullptr) && read > 0)
            bytes.append(buffer, read);
    }
    static DWORD WINAPI Drain(void* self)
    {
        auto* streams = static_cast<CapturedStreams*>(self);
        ReadAll(streams->m_outRead, streams->m_outBytes);
        return 0;
    }
    static DWORD WINAPI DrainError(void* self)
    {
        auto* streams = static_cast<CapturedStreams*>(self);
        ReadAll(streams->m_errRead, streams->m_errBytes);
        return 0;
    }

    HANDLE m_input = nullptr, m_output = nullptr, m_error = nullptr;
    HANDLE m_outRead = nullptr, m_errRead = nullptr;
    HANDLE m_outThread = nullptr, m_errThread = nullptr;
    std::string m_outBytes, m_errBytes;
};

// Starts the launcher (creation flags added to CREATE_UNICODE_ENVIRONMENT),
// with the pipes of streams when given; 0, or the error, which is also
// recorded as a test failure.
DWORD StartLauncherProcess(const AppFolder& app, const LaunchOptions& options, DWORD flags,
                           PROCESS_INFORMATION& process, CapturedStreams* streams = nullptr)
{
    AvoidWindowManagerWaits();
    std::wstring commandLine = BuildCommandLine(app, options);
    std::vector<wchar_t> environment = BuildEnvironment(app, options);
    std::wstring workingDir = options.workingDir.empty() ? app.Path() : options.workingDir;
    // Wine starts its desktop process from the first process that needs the
    // desktop; asking for it here keeps that process out of the launcher's job.
    GetDesktopWindow();
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (streams)
        streams->PassTo(startup);
    // Under load (thirty starts at once on a busy machine) Wine now and then
    // fails a process start with an internal error; a moment later it works.
    DWORD error = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        std::vector<wchar_t> mutableCommandLine(commandLine.begin(), commandLine.end());
        mutableCommandLine.push_back(L'\0');
        if (CreateProcessW(app.Launcher().c_str(), mutableCommandLine.data(), nullptr, nullptr, streams != nullptr,
                           flags | options.creationFlags | CREATE_UNICODE_ENVIRONMENT, environment.data(),
                           workingDir.c_str(), &startup, &process))
            return 0;
        error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR)
            break;
        Sleep(200);
    }
    ADD_FAILURE() << "cannot start " << Narrow(commandLine) << " (error " << error << ")";
    return error;
}

}  // namespace

std::vector<std::wstring> LaunchResult::MessageTexts() const
{
    std::vector<std::wstring> texts;
    for (const SeenWindow& window : windows) {
        if (window.isMessageBox)
            texts.push_back(window.text);
    }
    return texts;
}

LaunchResult RunLauncher(const AppFolder& app, const LaunchOptions& options)
{
    LaunchResult result;
    std::wstring commandLine = BuildCommandLine(app, options);
    HANDLE job = CreateKillOnCloseJob();
    PROCESS_INFORMATION process = {};
    CapturedStreams streams;
    if (options.capturePipes && !streams.Open())
        ADD_FAILURE() << "cannot make the pipes for the standard streams";
    DWORD error = StartLauncherProcess(app, options, CREATE_SUSPENDED, process,
                                       options.capturePipes ? &streams : nullptr);
    if (options.capturePipes)
        streams.CloseChildEnds();
    if (error != 0) {
        if (job)
            CloseHandle(job);
        result.exitCode = error;
        return result;
    }
    if (job && !AssignProcessToJobObject(job, process.hProcess)) {
        CloseHandle(job);
        job = nullptr;
    }
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);

    std::set<HWND> handled;  // windows recorded (and answered) already
    std::set<HWND> pending;  // visible in the last poll; recorded in the next one once they have settled
    ULONGLONG deadline = GetTickCount64() + options.timeoutMs;
    bool launcherEnded = false;
    for (;;) {
        if (!launcherEnded)
            launcherEnded = WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
        // Processes the launcher started (a paired launcher) are waited for as well.
        if (launcherEnded && !OthersStillRunning(job, process.dwProcessId))
            break;
        if (GetTickCount64() > deadline) {
            ADD_FAILURE() << Narrow(commandLine) << " did not end within " << options.timeoutMs
                          << " ms and was killed; "
                          << DescribeForFailure(result.windows,
                                                TopLevelWindowsOf(JobProcessIds(job, process.dwProcessId), false));
            result.timedOut = true;
            if (job)
                TerminateJobObject(job, ERROR_TIMEOUT);
            if (!launcherEnded)
                TerminateProcess(process.hProcess, ERROR_TIMEOUT);
            WaitForSingleObject(process.hProcess, 5000);
            break;
        }

        for (auto it = handled.begin(); it != handled.end();)
            it = IsWindow(*it) ? std::next(it) : handled.erase(it);
        std::set<HWND> visibleNow;
        for (const auto& found : TopLevelWindowsOf(JobProcessIds(job, process.dwProcessId))) {
            HWND window = found.first;
            if (handled.count(window))
                continue;
            // A dialog gets its controls and texts before it is shown, but it is given one more poll
            // to settle; other windows (a splash picture) are recorded at once.
            if (!pending.count(window) && ClassNameOf(window) == L"#32770") {
                visibleNow.insert(window);
                continue;
            }
            handled.insert(window);
            SeenWindow seen = Describe(window, found.second);
            result.windows.push_back(seen);
            if (!IsDialog(seen)) {
                if (options.onOtherWindow)
                    options.onOtherWindow(seen);
                continue;
            }
            int button = options.onWindow ? options.onWindow(seen) : DefaultButton(seen);
            if (button != 0)
                PressButton(window, button);
        }
        pending.swap(visibleNow);
        Sleep(kPollMs);
    }

    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    result.exitCode = exitCode;
    CloseHandle(process.hProcess);
    if (job)
        CloseHandle(job);  // ends anything still running in it
    if (options.capturePipes)
        streams.Collect(result);
    return result;
}

StartedLauncher::StartedLauncher(const AppFolder& app, const LaunchOptions& options)
    : m_deadline(GetTickCount64() + options.timeoutMs), m_commandLine(Narrow(BuildCommandLine(app, options)))
{
    PROCESS_INFORMATION process = {};
    if (StartLauncherProcess(app, options, 0, process) != 0)
        return;
    CloseHandle(process.hThread);
    m_process = process.hProcess;
    m_processId = process.dwProcessId;
}

StartedLauncher::~StartedLauncher()
{
    if (!m_process)
        return;
    if (!HasEnded()) {
        TerminateProcess(m_process, ERROR_TIMEOUT);
        WaitForSingleObject(m_process, 5000);
    }
    CloseHandle(m_process);
}

bool StartedLauncher::HasEnded() const
{
    return !m_process || WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0;
}

DWORD StartedLauncher::Wait()
{
    if (!m_process)
        return ERROR_INVALID_HANDLE;
    ULONGLONG now = GetTickCount64();
    DWORD left = now < m_deadline ? static_cast<DWORD>(m_deadline - now) : 0;
    if (WaitForSingleObject(m_process, left) != WAIT_OBJECT_0) {
        ADD_FAILURE() << m_commandLine << " did not end in time and was killed";
        TerminateProcess(m_process, ERROR_TIMEOUT);
        WaitForSingleObject(m_process, 5000);
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(m_process, &exitCode);
    return exitCode;
}
