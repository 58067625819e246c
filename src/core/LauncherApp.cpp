#include "core/LauncherApp.h"

#include "base/Trace.h"

namespace {

LauncherApp* g_instance = nullptr;

}  // namespace

void QuitThreadAndWait(DWORD threadId, HANDLE thread)
{
    DWORD exitCode = STILL_ACTIVE;
    while (GetExitCodeThread(thread, &exitCode) && exitCode == STILL_ACTIVE) {
        PostThreadMessageW(threadId, WM_QUIT, 0, 0);
        WaitForSingleObject(thread, 10);
    }
}

LauncherApp::LauncherApp()
{
    g_instance = this;
}

LauncherApp* LauncherApp::Instance()
{
    return g_instance;
}

bool LauncherApp::Initialize()
{
    TakeHandOverMark();
    TakeRestartMark();  // waits for a launcher that restarts the application
    ParseCommandLine();
    if (!ReadLaunchSettings())
        return false;
    if (!SetUpSingleInstance())
        return false;
    if (m_singleInstance && !m_isFirstInstance)
        return true;
    if (m_overrideWorkingDir)
        SetWorkingDirectory();
    return FindRuntime();
}

int LauncherApp::Run()
{
    JL_TRACE_IF(m_launchPair, "starting \"Pair Product\" %s with this command line", m_pairProduct.CStr());
    if (m_launchPair)
        return StartPairedLauncher();
    if (m_singleInstance && !m_isFirstInstance)
        return WaitAsSecondInstance();

    PrepareRestart();
    PrepareEnvironment();

    // The splash step fails only when the settings file cannot be named:
    // the launch has failed.
    if (!ShowSplashScreen())
        return -1;

    JL_TRACE("loading JVM library %s", m_jvmLibraryPath.CStr());
    if (!LoadJvmLibrary(m_jvmLibraryPath))
        return -1;
    // A failure has shown its message. A VM without the class path, the
    // parameters or the output files would only fail later, or worse, run.
    if (!AssembleVmOptions())
        return -1;
    if (m_vmThreadStackSize == 0)
        m_vmThreadStackSize = GetDefaultStackSize();

    DWORD result;
    DWORD threadId = 0;
    UniqueHandle thread(CreateThread(nullptr, m_vmThreadStackSize, LaunchThread, this,
                                     STACK_SIZE_PARAM_IS_A_RESERVATION, &threadId));
    if (thread) {
        WaitForSingleObject(thread.get(), INFINITE);
        if (!GetExitCodeThread(thread.get(), &result))
            result = 1;
    } else {
        result = LaunchOnThisThread();
    }
    if (result == 0)
        return RestartIfAsked(m_mainExitCode);
    m_splashCloser.Close();
    return -1;
}

DWORD WINAPI LauncherApp::LaunchThread(void* parameter)
{
    LauncherApp* app = static_cast<LauncherApp*>(parameter);
    if (!app)
        return 1;
    return app->LaunchOnThisThread();
}

DWORD LauncherApp::LaunchOnThisThread()
{
    if (!CreateJavaVm())
        return 1;
    if (!InvokeMain())
        return 1;
    if (m_isService && m_pJavaVM) {
        m_pJavaVM->DestroyJavaVM();
        m_pJavaVM = nullptr;
    }
    return 0;
}

LauncherApp::~LauncherApp()
{
    CloseSplashWindow();
    if (m_pJavaVM) {
        m_pJavaVM->DestroyJavaVM();
        m_pJavaVM = nullptr;
    }
    StopInstanceListener();
    m_pInstanceBlock.reset();
    m_hInstanceMapping.reset();
    m_splashCloser.Close();
    if (g_instance == this)
        g_instance = nullptr;
}
