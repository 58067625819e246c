#include "base/Trace.h"
#include "core/InstanceBlock.h"
#include "core/LauncherApp.h"
#include "core/Messages.h"
#include "core/SingleInstance.h"
#include "res/resource.h"

// A later start of a single-instance application: it hands its arguments to
// the first instance and ends with the answer. Later starts that come at the
// same moment take turns with the one argument area of the block: a start
// holds the turn from writing its arguments until the first instance says it
// has taken them.

namespace {

// The listener's id is the last thing a first instance stores; until then it
// is still setting up (or handing its role to its pair).
bool WaitForListener(const void* block)
{
    ULONGLONG deadline = GetTickCount64() + kSetUpWaitMs;
    for (;;) {
        if (ReadBlockField(block, kListenerThreadOffset) != 0)
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(10);
    }
}

bool HasEnded(HANDLE process)
{
    return WaitForSingleObject(process, 0) != WAIT_TIMEOUT;
}

// Waits until the first instance has taken the arguments out of the block,
// has answered, or has ended. An answer that comes first (from a first
// instance that sends no word of taking them) is put back for the wait of Run.
void WaitUntilTaken(UINT takenMessage, UINT answerMessage, HANDLE firstInstance)
{
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (takenMessage != 0 && message.message == takenMessage)
                return;
            if (message.message == answerMessage) {
                PostThreadMessageW(GetCurrentThreadId(), answerMessage, message.wParam, 0);
                return;
            }
        }
        if (MsgWaitForMultipleObjects(1, &firstInstance, FALSE, INFINITE, QS_ALLPOSTMESSAGE) != WAIT_OBJECT_0 + 1)
            return;  // the first instance has ended
    }
}

}  // namespace

// The process the block names as the first instance. It changes when a
// first instance hands its role to its paired launcher.
void LauncherApp::OpenFirstInstance()
{
    DWORD id = ReadBlockField(m_pInstanceBlock.get(), kProcessIdOffset);
    if (m_hFirstInstance && id == m_firstInstanceId)
        return;
    m_firstInstanceId = id;
    m_hFirstInstance.reset(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id));
}

// Posts this start to the listener the block names. A listener that has only
// just started may have no message queue yet, and a first instance that hands
// its role to its pair clears the listener's id until the pair's listener is
// there: the block is read again until a post goes through. Gives up after a
// few seconds, or when the first instance has ended without a successor.
bool LauncherApp::PostToListener(UINT message)
{
    const void* block = m_pInstanceBlock.get();
    ULONGLONG deadline = GetTickCount64() + kSetUpWaitMs;
    for (;;) {
        DWORD listener = ReadBlockField(block, kListenerThreadOffset);
        if (listener != 0) {
            OpenFirstInstance();
            if (!m_hFirstInstance)
                return false;
            if (PostThreadMessageW(listener, message, GetCurrentThreadId(), 0))
                return true;
        }
        if (GetTickCount64() >= deadline)
            return false;
        if (m_hFirstInstance && HasEnded(m_hFirstInstance.get()) &&
            ReadBlockField(block, kProcessIdOffset) == m_firstInstanceId)
            return false;
        Sleep(10);
    }
}

bool LauncherApp::ForwardToFirstInstance(const String& name)
{
    if (ForwardedArgumentsSize(m_arguments) > kForwardedBytesLimit) {
        ShowErrorMessage(nullptr, TextId(IDS_FORWARD_TOO_LONG));
        return false;
    }
    void* block = m_pInstanceBlock.get();
    if (!WaitForListener(block))
        return false;  // no first instance will ever listen
    OpenFirstInstance();
    if (!m_hFirstInstance)
        return true;  // nobody to wait for: the start ends at once
    UINT message = ReadBlockField(block, kMessageIdOffset);

    // This thread receives the answer: make sure it has a queue.
    MSG peeked;
    PeekMessageW(&peeked, nullptr, WM_USER, WM_USER, PM_NOREMOVE);

    UniqueHandle turn(CreateMutexW(nullptr, FALSE, (name + kTurnMutexSuffix).CStr()));
    if (turn) {
        HANDLE waits[] = {turn.get(), m_hFirstInstance.get()};
        DWORD waited = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        // An abandoned turn is ours: the start that held it has gone.
        if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED_0)
            return true;  // the first instance has ended: Run takes its exit code
    }
    // Without the mutex this start cannot take turns, but it is still served.
    WriteForwardedArguments(block, m_arguments);
    // The start the user just made may bring the application to the front;
    // only the process in the foreground can pass that right on.
    AllowSetForegroundWindow(m_firstInstanceId);
    bool posted = PostToListener(message);
    JL_TRACE("later start: arguments %s to the first instance, process %u", posted ? L"handed" : L"not handed",
             static_cast<unsigned>(m_firstInstanceId));
    if (posted)
        WaitUntilTaken(RegisterWindowMessageW((name + kTakenMessageSuffix).CStr()), message, m_hFirstInstance.get());
    if (turn)
        ReleaseMutex(turn.get());
    // A first instance that ended before the post leaves its exit code to Run.
    return posted || !m_hFirstInstance || HasEnded(m_hFirstInstance.get());
}

// The answer of the first instance's "secondaryMain", or, when none comes,
// the first instance's own exit code once it has ended. The queue is looked
// at every 100 ms at most; a message or the end of the first instance cuts
// the pause short.
int LauncherApp::WaitAsSecondInstance()
{
    if (!m_hFirstInstance)
        return 0;
    HANDLE firstInstance = m_hFirstInstance.get();
    UINT answerMessage = ReadBlockField(m_pInstanceBlock.get(), kMessageIdOffset);
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == answerMessage) {
                JL_TRACE("later start: the first instance answered %d", static_cast<int>(message.wParam));
                return static_cast<int>(message.wParam);
            }
        }
        if (HasEnded(firstInstance)) {
            DWORD exitCode = 0;
            if (!GetExitCodeProcess(firstInstance, &exitCode))
                return -1;
            JL_TRACE("later start: the first instance ended with %d", static_cast<int>(exitCode));
            return static_cast<int>(exitCode);
        }
        MsgWaitForMultipleObjects(1, &firstInstance, FALSE, 100, QS_ALLPOSTMESSAGE);
    }
}
