#include "base/Encoding.h"
#include "core/LauncherApp.h"
#include "core/Messages.h"
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

jclass LauncherApp::FindMainClass()
{
    JNIEnv* env = m_pJniEnv;

    // Runtimes that have it load the main class the way their own launcher
    // does, reporting problems themselves.
    if (m_pfnFindClassFromBootLoader) {
        jclass helper = m_pfnFindClassFromBootLoader(env, "sun/launcher/LauncherHelper");
        jmethodID checkAndLoadMain =
            helper ? env->GetStaticMethodID(helper, "checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;")
                   : nullptr;
        if (checkAndLoadMain) {
            String dotted(m_mainClass);
            dotted.ReplaceAll(L'/', L'.');
            jstring name = NewJavaString(dotted);
            if (name) {
                jobject loaded = env->CallStaticObjectMethod(helper, checkAndLoadMain, JNI_TRUE, jint(1), name);
                if (loaded)
                    return static_cast<jclass>(loaded);
                // A pending exception stays: the plain path below then fails
                // to make its string and says which class was meant.
            }
        }
    }

    jstring name = NewJavaString(m_mainClass);
    if (!name) {
        ShowFormattedError(m_hSplashWnd, TextId(IDS_MAIN_CLASS_LOAD_FAILED), m_mainClass.CStr());
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
    String className = DecodeModifiedUtf8(utf);
    env->ReleaseStringUTFChars(name, utf);
    ShowFormattedError(m_hSplashWnd, TextId(IDS_MAIN_CLASS_NOT_FOUND), className.CStr());
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

    env->CallStaticVoidMethod(mainClass, main, arguments);

    jthrowable throwable = env->ExceptionOccurred();
    if (throwable) {
        CloseSplashWindow();
        if (m_failureCheck && ShowUncaughtException(throwable)) {
            jclass system = env->FindClass("java/lang/System");
            jmethodID exitMethod = system ? env->GetStaticMethodID(system, "exit", "(I)V") : nullptr;
            if (exitMethod) {
                env->CallStaticVoidMethod(system, exitMethod, jint(-1));
                if (env->ExceptionOccurred())
                    env->ExceptionDescribe();
            }
        }
        // Without the failure check the exception stays pending, unprinted.
    }

    if (m_keepVmThreads) {
        // The process ends only when the Java program ends it.
        for (;;)
            Sleep(INFINITE);
    }
    return m_pJavaVM->DetachCurrentThread() == JNI_OK;
}
