#include "jvm/ModuleMain.h"

#include "core/LauncherApp.h"
#include "core/Messages.h"
#include "jvm/LauncherHelper.h"
#include "res/resource.h"
#include "settings/SettingWords.h"

// A main module is loaded by the runtime's launcher helper alone: plain
// class lookup knows nothing of modules.

bool LauncherApp::CheckModuleHelper()
{
    if (m_mainModule.IsEmpty() || m_pfnFindClassFromBootLoader)
        return true;
    ShowFormattedError(m_hSplashWnd, TextId(IDS_NO_MODULE_HELPER), m_mainModule.CStr());
    return false;
}

jclass LauncherApp::FindModuleMainClass(const LauncherHelper& helper)
{
    JNIEnv* env = m_pJniEnv;
    if (!helper.checkAndLoadMain) {
        env->ExceptionClear();  // the failed method lookup's
        ShowFormattedError(m_hSplashWnd, TextId(IDS_NO_MODULE_HELPER), m_mainModule.CStr());
        return nullptr;
    }
    jstring text = NewJavaString(m_mainModule);
    if (!text) {
        ShowFormattedError(m_hSplashWnd, TextId(IDS_MAIN_CLASS_LOAD_FAILED), m_mainModule.CStr());
        return nullptr;
    }
    // Without a class in the text the module's own main class is meant,
    // which only the helper knows.
    String className = MainModuleClass(m_mainModule);
    jstring dottedName = className.IsEmpty() ? nullptr : NewJavaString(className);
    bool classLoads = dottedName && MainClassLoads(env, dottedName);
    env->ExceptionClear();
    jobject loaded = CallCheckAndLoadMain(*this, helper, kLoadFromModule, text, classLoads, m_mainModule);
    if (loaded)
        return static_cast<jclass>(loaded);
    // A helper that does not know the module mode throws instead of
    // reporting: its exception is printed, and the user told.
    if (env->ExceptionOccurred())
        env->ExceptionDescribe();
    ShowFormattedError(m_hSplashWnd, TextId(IDS_MAIN_CLASS_NOT_FOUND), m_mainModule.CStr());
    return nullptr;
}

MainModuleResolution::MainModuleResolution(LauncherApp& app)
    : m_app(app), m_previous(app.m_pExitSink), m_watching(!app.m_mainModule.IsEmpty())
{
    if (m_watching)
        app.m_pExitSink = this;
}

MainModuleResolution::~MainModuleResolution()
{
    if (m_watching)
        m_app.m_pExitSink = m_previous;
}

// The VM calls the hooks on a thread of its own, with no Java code running,
// and ends the process once they return: the message is shown without JNI
// and the process ended here.
void MainModuleResolution::Exit(int)
{
    ReportAndEnd();
}

void MainModuleResolution::Abort()
{
    ReportAndEnd();
}

void MainModuleResolution::ReportAndEnd()
{
    ShowFormattedError(m_app.m_hSplashWnd, TextId(IDS_MAIN_CLASS_LOAD_FAILED), m_app.m_mainModule.CStr());
    ExitProcess(static_cast<UINT>(-1));
}
