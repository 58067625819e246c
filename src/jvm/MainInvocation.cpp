#include "base/Encoding.h"
#include "base/Trace.h"
#include "core/LauncherApp.h"
#include "core/Messages.h"
#include "jvm/LauncherHelper.h"
#include "res/resource.h"

jstring LauncherApp::NewJavaString(JNIEnv* env, const String& text)
{
    jclass stringClass = env->FindClass("java/lang/String");
    if (!stringClass)
        return nullptr;
    jmethodID constructor = env->GetMethodID(stringClass, "<init>", "([C)V");
    if (!constructor)
        return nullptr;
    jcharArray characters = env->NewCharArray(text.Length());
    if (!characters)
        return nullptr;
    // UTF-16 code units go over unchanged.
    static_assert(sizeof(jchar) == sizeof(wchar_t), "UTF-16 code units");
    env->SetCharArrayRegion(characters, 0, text.Length(), reinterpret_cast<const jchar*>(text.CStr()));
    jstring result = nullptr;
    if (!env->ExceptionOccurred())
        result = static_cast<jstring>(env->NewObject(stringClass, constructor, characters));
    env->DeleteLocalRef(characters);
    return result;
}

jobjectArray LauncherApp::NewJavaStringArray(JNIEnv* env, const StringList& list)
{
    jclass stringClass = env->FindClass("java/lang/String");
    if (!stringClass)
        return nullptr;
    jobjectArray array = env->NewObjectArray(list.Count(), stringClass, nullptr);
    if (!array)
        return nullptr;
    for (int i = 0; i < list.Count(); ++i) {
        jstring element = NewJavaString(env, list[i]);
        if (!element)
            return nullptr;
        env->SetObjectArrayElement(array, i, element);
        env->DeleteLocalRef(element);
    }
    return array;
}

bool MainClassLoads(JNIEnv* env, jstring dottedName)
{
    jclass loaderClass = env->FindClass("java/lang/ClassLoader");
    jmethodID systemLoader =
        loaderClass ? env->GetStaticMethodID(loaderClass, "getSystemClassLoader", "()Ljava/lang/ClassLoader;")
                    : nullptr;
    jobject loader = systemLoader ? env->CallStaticObjectMethod(loaderClass, systemLoader) : nullptr;
    jclass classClass = loader ? env->FindClass("java/lang/Class") : nullptr;
    jmethodID forName = classClass ? env->GetStaticMethodID(classClass, "forName",
                                                            "(Ljava/lang/String;ZLjava/lang/ClassLoader;)Ljava/lang/Class;")
                                   : nullptr;
    jobject loaded = forName ? env->CallStaticObjectMethod(classClass, forName, dottedName, JNI_FALSE, loader) : nullptr;
    env->ExceptionClear();
    return loaded != nullptr;
}

namespace {

// The exit sink while the runtime's launcher helper checks the main class.
// The helper reports a class it cannot load, or one without a main method,
// on the standard error stream, which a windowed application does not show,
// and ends the program with System.exit(1). The user is told here instead,
// and the launch ends with -1 like any launch that fails before main. The VM
// calls the hook on a thread of its own, with its Java threads stopped, and
// ends the process once the hook returns: so the message is shown without
// JNI and the process is ended here.
class MainClassCheckExit : public ExitSink {
public:
    MainClassCheckExit(LauncherApp& app, bool classLoads, const String& shownName)
        : m_app(app), m_previous(app.m_pExitSink), m_classLoads(classLoads), m_shownName(shownName)
    {
        app.m_pExitSink = this;
    }
    ~MainClassCheckExit() { m_app.m_pExitSink = m_previous; }
    MainClassCheckExit(const MainClassCheckExit&) = delete;
    MainClassCheckExit& operator=(const MainClassCheckExit&) = delete;

    void Exit(int code) override
    {
        if (code == 1) {
            if (m_classLoads)
                ShowErrorMessage(m_app.m_hSplashWnd, TextId(IDS_NO_MAIN_METHOD));
            else
                ShowFormattedError(m_app.m_hSplashWnd, TextId(IDS_MAIN_CLASS_NOT_FOUND), m_shownName.CStr());
            ExitProcess(static_cast<UINT>(-1));
        }
        if (m_previous)
            m_previous->Exit(code);
    }
    void Abort() override
    {
        if (m_previous)
            m_previous->Abort();
    }

private:
    LauncherApp& m_app;
    ExitSink* m_previous;
    bool m_classLoads;
    const String& m_shownName;
};

}  // namespace

jobject CallCheckAndLoadMain(LauncherApp& app, const LauncherHelper& helper, jint mode, jstring text, bool classLoads,
                             const String& shownName)
{
    // A class the helper rejects ends the program inside this call (see
    // MainClassCheckExit).
    MainClassCheckExit check(app, classLoads, shownName);
    return app.m_pJniEnv->CallStaticObjectMethod(helper.helperClass, helper.checkAndLoadMain, JNI_TRUE, mode, text);
}

LauncherHelper FindLauncherHelper(JNIEnv* env, FindClassFromBootLoaderFunction findBootClass)
{
    LauncherHelper helper;
    helper.helperClass = findBootClass ? findBootClass(env, "sun/launcher/LauncherHelper") : nullptr;
    if (helper.helperClass)
        helper.checkAndLoadMain = env->GetStaticMethodID(helper.helperClass, "checkAndLoadMain",
                                                         "(ZILjava/lang/String;)Ljava/lang/Class;");
    return helper;
}

jclass LauncherApp::FindMainClass()
{
    JNIEnv* env = m_pJniEnv;

    // Runtimes that have it load the main class the way their own launcher
    // does, reporting problems themselves; a main module only they can load.
    LauncherHelper helper = FindLauncherHelper(env, m_pfnFindClassFromBootLoader);
    if (!m_mainModule.IsEmpty())
        return FindModuleMainClass(helper);
    if (helper.checkAndLoadMain) {
        String dotted(m_mainClass);
        dotted.ReplaceAll(L'/', L'.');
        jstring name = NewJavaString(dotted);
        if (name) {
            bool classLoads = MainClassLoads(env, name);
            jobject loaded = CallCheckAndLoadMain(*this, helper, kLoadByClassName, name, classLoads, m_mainClassName);
            if (loaded)
                return static_cast<jclass>(loaded);
            // A pending exception stays: the plain path below then fails
            // to make its string and says which class was meant.
        }
    }

    jstring name = NewJavaString(m_mainClass);
    if (!name) {
        ShowFormattedError(m_hSplashWnd, TextId(IDS_MAIN_CLASS_LOAD_FAILED), m_mainClassName.CStr());
        return nullptr;
    }
    const char* utf = env->GetStringUTFChars(name, nullptr);
    if (!utf) {
        env->ExceptionDescribe();
        return nullptr;
    }
    jclass mainClass = env->FindClass(utf);
    if (mainClass) {
        env->ReleaseStringUTFChars(name, utf);
        return mainClass;
    }
    env->ExceptionDescribe();
    env->ReleaseStringUTFChars(name, utf);
    ShowFormattedError(m_hSplashWnd, TextId(IDS_MAIN_CLASS_NOT_FOUND), m_mainClassName.CStr());
    return nullptr;
}

namespace {

// Ends a launch that failed before main ran. The failure has been reported;
// the thread leaves the VM, because DestroyJavaVM waits for every attached
// non-daemon thread, also one that has ended without detaching.
bool LeaveVmAfterFailure(JavaVM* vm, JNIEnv* env)
{
    env->ExceptionClear();
    vm->DetachCurrentThread();
    return false;
}

}  // namespace

bool LauncherApp::InvokeMain()
{
    JNIEnv* env = m_pJniEnv;
    JL_TRACE_IF(m_mainModule.IsEmpty(), "main class %s", m_mainClass.CStr());
    JL_TRACE_IF(!m_mainModule.IsEmpty(), "main module %s", m_mainModule.CStr());
    jclass mainClass = FindMainClass();
    if (!mainClass)
        return LeaveVmAfterFailure(m_pJavaVM, env);
    jmethodID main = env->GetStaticMethodID(mainClass, "main", "([Ljava/lang/String;)V");
    if (!main) {
        if (env->ExceptionOccurred())
            env->ExceptionDescribe();
        else
            ShowErrorMessage(m_hSplashWnd, TextId(IDS_NO_MAIN_METHOD));
        return LeaveVmAfterFailure(m_pJavaVM, env);
    }
    jobjectArray arguments = NewJavaStringArray(m_arguments);
    if (!arguments) {
        env->ExceptionDescribe();
        return LeaveVmAfterFailure(m_pJavaVM, env);
    }
    // Some providers' VMs must keep the thread that launched them.
    m_keepVmThreads = m_allowIbm && m_preferIbm && UsesIbmRuntime();
    // From here on starts forwarded by later instances may be served.
    if (m_hReadyEvent)
        SetEvent(m_hReadyEvent.get());

    JL_TRACE_CALL(TraceList(L"argument", m_arguments));
    env->CallStaticVoidMethod(mainClass, main, arguments);

    jthrowable throwable = env->ExceptionOccurred();
    JL_TRACE("main has returned%s", throwable ? L" with an uncaught exception" : L"");
    if (throwable) {
        // An uncaught exception fails the launch, as with the Java launcher,
        // unless the user chooses to ignore it in the dialog.
        m_mainExitCode = 1;
        if (ConfirmStopAfterException(throwable)) {
            jclass system = env->FindClass("java/lang/System");
            jmethodID exitMethod = system ? env->GetStaticMethodID(system, "exit", "(I)V") : nullptr;
            if (exitMethod) {
                env->CallStaticVoidMethod(system, exitMethod, jint(-1));
                if (env->ExceptionOccurred())
                    env->ExceptionDescribe();
            }
            m_mainExitCode = -1;  // System.exit could not end the process
        }
        // Without the failure check the exception stays pending: leaving the
        // VM below prints it.
    }

    if (m_keepVmThreads) {
        // The process ends only when the Java program ends it.
        for (;;)
            Sleep(INFINITE);
    }
    return m_pJavaVM->DetachCurrentThread() == JNI_OK;
}
