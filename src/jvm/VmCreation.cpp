#include "base/ResourceText.h"
#include "base/Trace.h"
#include "core/LauncherApp.h"
#include "core/Messages.h"
#include "jvm/ModuleMain.h"
#include "res/resource.h"

namespace {

// The VM calls these on whatever thread ends or aborts the process; they
// carry no context, so they reach the application through its instance.
void JNICALL ExitHook(jint code)
{
    JL_TRACE("the Java program ends the process with exit code %d", static_cast<int>(code));
    LauncherApp* app = LauncherApp::Instance();
    if (app && app->m_pExitSink)
        app->m_pExitSink->Exit(static_cast<int>(code));
}

void JNICALL AbortHook()
{
    JL_TRACE("the VM aborts the process");
    LauncherApp* app = LauncherApp::Instance();
    if (app && app->m_pExitSink)
        app->m_pExitSink->Abort();
}

unsigned ReasonTextId(jint result)
{
    switch (result) {
    case JNI_ERR:
        return IDS_JNI_ERR;
    case JNI_EDETACHED:
        return IDS_JNI_EDETACHED;
    case JNI_EVERSION:
        return IDS_JNI_EVERSION;
    case JNI_ENOMEM:
        return IDS_JNI_ENOMEM;
    case JNI_EEXIST:
        return IDS_JNI_EEXIST;
    case JNI_EINVAL:
        return IDS_JNI_EINVAL;
    default:
        return 0;
    }
}

}  // namespace

bool LauncherApp::CreateJavaVm()
{
    if (!m_pfnCreateJavaVM)
        RaiseFatalError(kFatalFail);  // Run loads the library before any launch thread exists

    List<JavaVMOption> options;
    for (const AnsiString& option : m_jvmOptions) {
        JavaVMOption record = {};
        record.optionString = const_cast<char*>(option.CStr());
        options.Append(record);
    }
    JavaVMOption abortOption = {};
    abortOption.optionString = const_cast<char*>("abort");
    abortOption.extraInfo = reinterpret_cast<void*>(&AbortHook);
    options.Append(abortOption);
    JavaVMOption exitOption = {};
    exitOption.optionString = const_cast<char*>("exit");
    exitOption.extraInfo = reinterpret_cast<void*>(&ExitHook);
    options.Append(exitOption);

    JavaVMInitArgs arguments = {};
    arguments.version = JNI_VERSION_1_2;
    arguments.nOptions = options.Count();
    arguments.options = options.begin();
    arguments.ignoreUnrecognized = JNI_FALSE;

    JL_TRACE_CALL(TraceAnsiList(L"VM option", m_jvmOptions));
    jint result;
    {
        MainModuleResolution resolution(*this);
        result = m_pfnCreateJavaVM(&m_pJavaVM, reinterpret_cast<void**>(&m_pJniEnv), &arguments);
    }
    if (result != JNI_OK) {
        m_pJavaVM = nullptr;
        m_pJniEnv = nullptr;
        unsigned reasonId = ReasonTextId(result);
        String reason = reasonId ? LoadResourceString(reasonId) : String();
        String message = FormatText(TextId(IDS_JNI_ERROR_REASON), LoadResourceString(IDS_CREATE_VM_FAILED).CStr(),
                                    reason.CStr());
        ShowErrorMessage(m_hSplashWnd, message.CStr());
        return false;
    }
    JL_TRACE("VM created");
    if (!SetLateProperties()) {
        // The thread leaves the VM, which DestroyJavaVM would wait for.
        m_pJavaVM->DetachCurrentThread();
        return false;
    }
    RedirectOutput();
    return true;
}
