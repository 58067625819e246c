#include "core/LauncherApp.h"
#include "core/Messages.h"
#include "jvm/Environment.h"
#include "res/resource.h"

namespace {

// The JNI 1.1 initialisation record. Only its size, its version and
// javaStackSize matter here; the layout is the one the runtime expects.
struct Jdk11InitArgs {
    jint version;
    char** properties;
    jint checkSource;
    jint nativeStackSize;
    jint javaStackSize;
    jint minHeapSize;
    jint maxHeapSize;
    jint verifyMode;
    char* classpath;
    void* vfprintfHook;
    void* exitHook;
    void* abortHook;
    jint enableClassGC;
    jint enableVerboseGC;
    jint disableAsyncGC;
    jint verbose;
    jboolean debugging;
    jint debugPort;
};
#if !defined(_WIN64)
static_assert(sizeof(Jdk11InitArgs) == 72, "JDK 1.1 init record layout");
#endif

}  // namespace

bool LauncherApp::LoadJvmLibrary(const String& path)
{
    // The library's own dependencies sit in the runtime's bin folder.
    String binFolder = StripLastComponents(path, 2);
    AddDllDirectory(binFolder.CStr());

    // Loaded once for the rest of the process and never freed: the VM cannot
    // be unloaded, so the module is deliberately not owned by anything.
    HMODULE library = LoadLibraryExW(path.CStr(), nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    DWORD error = GetLastError();
    if (!library) {
        ShowSystemError(m_hSplashWnd, TextId(IDS_JVM_LOAD_FAILED), path.CStr(), error);
        return false;
    }

    m_pfnCreateJavaVM = reinterpret_cast<CreateJavaVMFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "JNI_CreateJavaVM")));
    if (m_pfnCreateJavaVM) {
        m_pfnGetDefaultJavaVMInitArgs = reinterpret_cast<GetDefaultJavaVMInitArgsFunction>(
            reinterpret_cast<void*>(GetProcAddress(library, "JNI_GetDefaultJavaVMInitArgs")));
    }
    if (!m_pfnCreateJavaVM || !m_pfnGetDefaultJavaVMInitArgs) {
        error = GetLastError();
        ShowSystemError(m_hSplashWnd, TextId(IDS_WINDOWS_ERROR), LoadResourceString(IDS_NO_CREATE_JAVA_VM).CStr(),
                        error);
        return false;
    }
    // Optional: without it the main class is found through FindClass.
    m_pfnFindClassFromBootLoader = reinterpret_cast<FindClassFromBootLoaderFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "JVM_FindClassFromBootLoader")));
    // A main module cannot be loaded without it: said before a VM is made.
    return CheckModuleHelper();
}

DWORD LauncherApp::GetDefaultStackSize()
{
    if (!m_pfnGetDefaultJavaVMInitArgs)
        return 0;
    Jdk11InitArgs arguments = {};
    arguments.version = JNI_VERSION_1_1;
    m_pfnGetDefaultJavaVMInitArgs(&arguments);  // its result is not needed: a zero size means "none"
    return arguments.javaStackSize > 0 ? static_cast<DWORD>(arguments.javaStackSize) : 0;
}
