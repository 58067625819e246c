#include "core/InstanceBlock.h"
#include "core/LauncherApp.h"
#include "core/SingleInstance.h"

// A later start of a single-instance application: it hands its arguments to
// the first instance and ends with the answer. Later starts that come at the
// same moment take turns with the one argument area of the block: a start
// holds the turn from writing its arguments until the first instance says it
// has taken them.

namespace {

// The listener's id is the last thing a first instance stores; until then it
// is still setting up.
DWORD WaitForListener(const void* block)
{
    ULONGLONG deadline = GetTickCount64() + kSetUpWaitMs;
    for (;;) {
        DWORD listener = ReadBlockField(block, kListenerThreadOffset);
        if (listener != 0 || GetTickCount64() >= deadline)
            return listener;
        Sleep(10);
    }
}

bool HasEnded(HANDLE process)
{
    return WaitForSingleObject(process, 0) != WAIT_TIMEOUT;
}

// A listener that has only just started may have no message queue yet.
bool PostToListener(DWORD listener, UINT message, HANDLE firstInstance)
{
    ULONGLONG deadline = GetTickCount64() + kSetUpWaitMs;
    for (;;) {
        if (PostThreadMessageW(listener, message, GetCurrentThreadId(), 0))
            return true;
        if (GetTickCount64() >= deadline || HasEnded(firstInstance))
            return false;
        Sleep(10);
    }
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

bool LauncherApp::ForwardToFirstInstance(const String& name)
{
    // Arguments that do not fit end the launch; nothing is shown.
    if (ForwardedArgumentsSize(m_arguments) > kForwardedBytesLimit)
        return false;
    void* block = m_pInstanceBlock.get();
    DWORD listener = WaitForListener(block);
    if (listener == 0)
        return false;  // no first instance will ever listen
    UINT message = ReadBlockField(block, kMessageIdOffset);
    m_hFirstInstance.reset(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                                       ReadBlockField(block, kProcessIdOffset)));
    if (!m_hFirstInstance)
        return true;  // nobody to wait for: the start ends at once
    HANDLE firstInstance = m_hFirstInstance.get();

    // This thread receives the answer: make sure it has a queue.
    MSG peeked;
    PeekMessageW(&peeked, nullptr, WM_USER, WM_USER, PM_NOREMOVE);

    UniqueHandle turn(CreateMutexW(nullptr, FALSE, (name + kTurnMutexSuffix).CStr()));
    if (turn) {
        HANDLE waits[] = {turn.get(), firstInstance};
        DWORD waited = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        // An abandoned turn is ours: the start that held it has gone.
        if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED_0)
            return true;  // the first instance has ended: Run takes its exit code
    }
    // Without the mutex this start cannot take turns, but it is still served.
    bool posted = WriteForwardedArguments(block, m_arguments) && PostToListener(listener, message, firstInstance);
    if (posted)
        WaitUntilTaken(RegisterWindowMessageW((name + kTakenMessageSuffix).CStr()), message, firstInstance);
    if (turn)
        ReleaseMutex(turn.get());
    // A first instance that ended before the post leaves its exit code to Run.
    return posted || HasEnded(firstInstance);
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
            if (message.message == answerMessage)
                return static_cast<int>(message.wParam);
        }
        if (HasEnded(firstInstance)) {
            DWORD exitCode = 0;
            if (!GetExitCodeProcess(firstInstance, &exitCode))
                return -1;
            return static_cast<int>(exitCode);
        }
        MsgWaitForMultipleObjects(1, &firstInstance, FALSE, 100, QS_ALLPOSTMESSAGE);
    }
}
