#include "base/Trace.h"
#include "core/LauncherApp.h"
#include "core/Messages.h"
#include "res/resource.h"

// System properties that the runtime could not read from its option strings
// (see AnsiOptions.cpp) are set on Java strings, so the program reads them
// exactly, before any of its classes is loaded.
bool LauncherApp::SetLateProperties()
{
    if (m_lateProperties.IsEmpty())
        return true;
    JL_TRACE_CALL(TraceList(L"system property set through System.setProperty", m_lateProperties));
    JNIEnv* env = m_pJniEnv;
    jclass system = env->FindClass("java/lang/System");
    jmethodID setProperty =
        system ? env->GetStaticMethodID(system, "setProperty", "(Ljava/lang/String;Ljava/lang/String;)Ljava/lang/String;")
               : nullptr;
    for (const String& property : m_lateProperties) {
        int equals = property.Find(L'=');
        String name = property.Left(equals);
        jstring javaName = setProperty ? NewJavaString(name) : nullptr;
        jstring value = javaName ? NewJavaString(property.Mid(equals + 1)) : nullptr;
        jobject previous = value ? env->CallStaticObjectMethod(system, setProperty, javaName, value) : nullptr;
        if (!value || env->ExceptionCheck()) {
            if (env->ExceptionCheck())
                env->ExceptionDescribe();
            ShowFormattedError(m_hSplashWnd, TextId(IDS_PROPERTY_NOT_SET), name.CStr());
            return false;
        }
        if (previous)
            env->DeleteLocalRef(previous);
        env->DeleteLocalRef(value);
        env->DeleteLocalRef(javaName);
    }
    return true;
}
