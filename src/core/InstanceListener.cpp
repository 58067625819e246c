#include "base/Encoding.h"
#include "core/InstanceBlock.h"
#include "core/LauncherApp.h"

// The first instance's side of single-instance mode: the listener thread
// takes each forwarded start off its queue and hands it to a worker thread,
// which waits until main is about to run and then calls "secondaryMain".

namespace {

// One forwarded start, owned by the worker that serves it. It carries copies
// of everything the worker needs, so that a worker still running while the
// application object shuts down reads nothing of it but the VM.
struct ForwardedStart {
    LauncherApp* app = nullptr;
    DWORD laterThreadId = 0;  // where the answer goes
    UINT answerMessage = 0;
    StringList arguments;
    AnsiString mainClass;  // modified UTF-8
    UniqueHandle readyEvent;
};

jmethodID FindSecondaryMain(JNIEnv* env, jclass mainClass, bool& returnsInt)
{
    returnsInt = false;
    jmethodID method = env->GetStaticMethodID(mainClass, "secondaryMain", "([Ljava/lang/String;)V");
    if (env->ExceptionOccurred())
        env->ExceptionClear();
    if (method)
        return method;
    method = env->GetStaticMethodID(mainClass, "secondaryMain", "([Ljava/lang/String;)I");
    returnsInt = method != nullptr;
    return method;
}

// The call itself. The answer for the void variant goes out before the call,
// so that the later start ends at once; the int variant's answer is its result.
bool CallSecondaryMain(JNIEnv* env, ForwardedStart& start)
{
    jclass mainClass = env->FindClass(start.mainClass.CStr());
    if (!mainClass)
        return false;
    bool returnsInt = false;
    jmethodID method = FindSecondaryMain(env, mainClass, returnsInt);
    if (!method) {
        if (env->ExceptionOccurred())
            env->ExceptionDescribe();
        return false;
    }
    jobjectArray arguments = start.app->NewJavaStringArray(env, start.arguments);
    if (!arguments) {
        if (env->ExceptionOccurred())
            env->ExceptionDescribe();
        return false;
    }
    if (returnsInt) {
        jint answer = env->CallStaticIntMethod(mainClass, method, arguments);
        // A call that ended with an exception has no answer: it failed.
        if (env->ExceptionCheck())
            answer = -1;
        PostThreadMessageW(start.laterThreadId, start.answerMessage, static_cast<WPARAM>(answer), 0);
    } else {
        PostThreadMessageW(start.laterThreadId, start.answerMessage, 0, 0);
        env->CallStaticVoidMethod(mainClass, method, arguments);
    }
    if (env->ExceptionOccurred()) {
        env->ExceptionDescribe();
        return false;
    }
    return true;
}

}  // namespace

DWORD WINAPI LauncherApp::ListenerThread(void* parameter)
{
    LauncherApp* app = static_cast<LauncherApp*>(parameter);
    void* block = app->m_pInstanceBlock.get();
    UINT forwardMessage = ReadBlockField(block, kMessageIdOffset);
    MSG message;
    // Later starts can post from the moment the queue exists.
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message != forwardMessage)
            continue;
        ForwardedStart* start = new ForwardedStart;
        start->app = app;
        start->laterThreadId = static_cast<DWORD>(message.wParam);
        start->answerMessage = forwardMessage;
        start->mainClass = ToModifiedUtf8(app->m_mainClass);  // what FindClass reads
        // The later start holds its turn until it is told that its arguments
        // have been taken; the next start may overwrite them after that.
        ReadForwardedArguments(block, start->arguments);
        if (app->m_takenMessage)
            PostThreadMessageW(start->laterThreadId, app->m_takenMessage, 0, 0);
        HANDLE process = GetCurrentProcess();
        HANDLE ready = nullptr;
        if (!DuplicateHandle(process, app->m_hReadyEvent.get(), process, &ready, SYNCHRONIZE, FALSE, 0)) {
            delete start;  // the later start waits until this process ends
            continue;
        }
        start->readyEvent.reset(ready);
        UniqueHandle worker(CreateThread(nullptr, 0, ForwardedStartThread, start, 0, nullptr));
        if (!worker)
            delete start;
    }
    return 0;
}

DWORD WINAPI LauncherApp::ForwardedStartThread(void* parameter)
{
    ForwardedStart* start = static_cast<ForwardedStart*>(parameter);
    LauncherApp* app = start->app;
    DWORD result = 1;
    WaitForSingleObject(start->readyEvent.get(), INFINITE);
    // Main is about to run, so the VM exists; it is read once, because the
    // application object clears it when it destroys the VM.
    JavaVM* vm = __atomic_load_n(&app->m_pJavaVM, __ATOMIC_ACQUIRE);
    JNIEnv* env = nullptr;
    // Named, so that what the runtime prints about the thread says what it is.
    char threadName[] = "secondaryMain";
    JavaVMAttachArgs attach = {JNI_VERSION_1_2, threadName, nullptr};
    if (vm && vm->AttachCurrentThread(reinterpret_cast<void**>(&env), &attach) == JNI_OK) {
        result = CallSecondaryMain(env, *start) ? 0 : 1;
        // A VM that must keep its launching thread keeps this one as well.
        if (!app->m_keepVmThreads)
            vm->DetachCurrentThread();
    }
    delete start;
    return result;
}
