#pragma once

#include "base/List.h"
#include "base/Text.h"
#include "base/UniqueResource.h"
#include "core/ExitSink.h"
#include "runtime/Version.h"

#include <jni.h>
#include <windows.h>

class SplashWindow;
struct JavaRuntime;
struct LauncherHelper;
using RuntimeList = List<JavaRuntime>;

// "JVM Type".
enum class JvmType : int { Any = 0, Server = 1, FavorServer = 2 };

// Which registry view a search reads.
enum class RegistryView { Default, Force64 };

using CreateJavaVMFunction = jint(JNICALL*)(JavaVM**, void**, void*);
using GetDefaultJavaVMInitArgsFunction = jint(JNICALL*)(void*);
using FindClassFromBootLoaderFunction = jclass(JNICALL*)(JNIEnv*, const char*);

// Posts WM_QUIT to a thread until it has ended. A thread that has not made
// its message queue yet misses a post, so the post is repeated.
void QuitThreadAndWait(DWORD threadId, HANDLE thread);

// The one application object: every setting, handle and result of a launch.
// Operations are grouped by the subsystem whose files implement them.
class LauncherApp {
public:
    LauncherApp();
    ~LauncherApp();
    LauncherApp(const LauncherApp&) = delete;
    LauncherApp& operator=(const LauncherApp&) = delete;

    // The one instance, for the VM's exit and abort hooks.
    static LauncherApp* Instance();

    // --- Start-up sequence (core/LauncherApp.cpp) ---
    bool Initialize();
    int Run();
    static DWORD WINAPI LaunchThread(void* parameter);
    DWORD LaunchOnThisThread();

    // --- Command line and launch modes (core/CommandLine.cpp, core/SingleInstance.cpp) ---
    void ParseCommandLine();
    bool SetUpSingleInstance();
    bool StartInstanceListener(const String& name);
    void StopInstanceListener();
    // Gives up the first instance's role before a hand-over to the pair;
    // returns the name under which the pair takes it over, or empty.
    String HandInstanceOver();
    void OpenFirstInstance();
    bool PostToListener(UINT message);
    static DWORD WINAPI ListenerThread(void* parameter);
    static DWORD WINAPI ForwardedStartThread(void* parameter);
    bool ForwardToFirstInstance(const String& name);
    int WaitAsSecondInstance();
    void TakeHandOverMark();
    int StartPairedLauncher();

    // --- Restart exit code (core/Restart.cpp) ---
    void TakeRestartMark();
    void PrepareRestart();
    // Starts the launcher again when code is the "Restart Code"; returns code.
    int RestartIfAsked(int code);

    // --- Class-data archive (jvm/ClassDataSharing.cpp) ---
    void AddClassDataSharingOptions();

    // --- Settings (settings/LaunchSettings.cpp) ---
    bool ReadLaunchSettings();

    // --- Runtime discovery (runtime/*.cpp) ---
    bool FindRuntime();
    bool SearchRegistry(RegistryView view, String& home);
    void CollectCandidates(int vendorKey, RegistryView view, RuntimeList& list);
    bool ReadRegistryCandidate(int vendorKey, const String& subkeyName, RegistryView view, String& home, bool& isServer);
    void CollectDistributorCandidates(RegistryView view, RuntimeList& list) const;
    void SortCandidates(RuntimeList& list) const;
    bool SelectCandidate(RuntimeList& list, JavaVersion& version, String& home) const;
    bool ReadJavaHomeVariable(String& home) const;
    bool IsVersionAcceptable(const String& home) const;
    bool ServesMainModule(const String& home) const;
    bool RefusesForMainModule(const JavaVersion& version, const String& runtime) const;
    bool IsStoredRuntimeUsable(const String& home) const;
    void CheckRuntimeArchitecture();
    bool AskForRuntime();

    // --- JVM hosting (jvm/*.cpp) ---
    void SetWorkingDirectory();
    void PrepareEnvironment();
    bool LoadJvmLibrary(const String& path);
    DWORD GetDefaultStackSize();
    bool CreateJavaVm();
    bool AssembleVmOptions();
    // The class path from the "Class Path" value; items that contribute
    // nothing are added to unmatched when it is given.
    String BuildClassPath(const String& setting, StringList* unmatched = nullptr);
    void ExpandClassPathEntry(const String& entry, String& classPath);
    void AddVmParameter(const String& parameter, StringList& workingList);
    void AddModuleOptions(const String& modulePath, const String& addModules, StringList& workingList);
    // Appends one option to m_jvmOptions in the form the runtime reads
    // (jvm/AnsiOptions.cpp); false with the user's message in refusal when
    // it has none. Path items listed in droppable are left out instead.
    bool AddAnsiOption(const String& option, String& refusal, const StringList* droppable = nullptr);
    bool SetLateProperties();
    bool CheckModuleHelper();
    jclass FindModuleMainClass(const LauncherHelper& helper);
    jclass FindMainClass();
    bool InvokeMain();
    jstring NewJavaString(const String& text) { return NewJavaString(m_pJniEnv, text); }
    jobjectArray NewJavaStringArray(const StringList& list) { return NewJavaStringArray(m_pJniEnv, list); }
    // The same on another thread's environment.
    jstring NewJavaString(JNIEnv* env, const String& text);
    jobjectArray NewJavaStringArray(JNIEnv* env, const StringList& list);
    bool UsesIbmRuntime() const;
    void RedirectOutput();
    bool ShowUncaughtException(jthrowable throwable);
    String GetStackTraceText(jthrowable throwable);

    // --- Splash screen (splash/*.cpp) ---
    bool StartSplash();
    bool StartNativeSplash(const String& library, const String& picture);
    static DWORD WINAPI SplashThreadMain(void* parameter);
    void CloseSplashWindow();

    // --- How this build meets its user (core/Frontend.cpp, built once for the
    //     GUI launcher and once for the console launcher) ---
    // The splash screen unless an argument is "-nosplash" or "/nosplash";
    // false only when the settings file cannot be named.
    bool ShowSplashScreen();
    // No runtime was found: true when the user has picked one, whose library
    // is then in m_jvmLibraryPath.
    bool OfferRuntimeChoice();
    // main has ended with throwable still pending: true when the program is
    // to be stopped with System.exit(-1).
    bool ConfirmStopAfterException(jthrowable throwable);

    // --- Fields, in declaration order ---
    ExitSink* m_pExitSink = nullptr;
    UniqueHandle m_hSplashThread;
    DWORD m_splashThreadId = 0;
    String m_splashImage;
    String m_splashShadow;
    JvmType m_jvmType = JvmType::Any;
    String m_jvmLibraryPath;
    JavaVM* m_pJavaVM = nullptr;
    JNIEnv* m_pJniEnv = nullptr;
    String m_mainClass;      // internal form, "/" between packages
    String m_mainClassName;  // as written in the settings, for messages
    String m_mainModule;  // "Main Module": "module" or "module/class", empty for a class-path application
    VersionRequirement m_versionRequirement;
    StringList m_arguments;
    SplashWindow* m_pSplashWindow = nullptr;
    HWND m_hSplashWnd = nullptr;
    bool m_isService = false;
    bool m_jdkFirst = false;
    bool m_jreFirst = false;
    bool m_allowOtherKind = true;
    bool m_allowJRockit = false;
    bool m_allowSun = true;
    bool m_allowIbm = false;
    bool m_preferJRockit = false;
    bool m_preferSun = true;
    bool m_preferIbm = false;
    bool m_otherVendors = true;  // "Other Vendors": today's distributors' keys are read
    String m_productName;
    String m_productCode;
    AnsiList m_jvmOptions;
    // "name=value" of -D options with text outside the ANSI code page: set
    // through System.setProperty once the VM exists, before the main class.
    StringList m_lateProperties;
    // Why an option made before AssembleVmOptions cannot reach the runtime.
    String m_optionRefusal;
    StringList m_preferredVersions;
    String m_jrePath;
    String m_downloadUrl;  // "Download URL": the runtime-not-found dialog's link
    bool m_jrePathFromUser = false;  // "JRE Path" came from the per-user file, where the runtime dialog stores it
    String m_libraryPath;
    UniqueMappedView m_pInstanceBlock;
    UniqueHandle m_hInstanceMapping;
    UniqueHandle m_hListenerThread;
    bool m_isFirstInstance = false;
    bool m_singleInstance = false;
    String m_outputFile;
    String m_errorFile;
    bool m_outputAppend = false;
    bool m_errorAppend = false;
    String m_systemPath;
    String m_extraArguments;
    String m_pairProduct;
    bool m_pairReturnCode = false;
    bool m_failureCheck = false;
    bool m_overrideWorkingDir = false;
    DWORD m_vmThreadStackSize = 0;
    SplashCloser m_splashCloser;
    UniqueHandle m_hReadyEvent;
    bool m_launchPair = false;
    // The exit code of a launch whose main has run: 1 when main ended with an
    // exception that nobody chose to ignore, as with the Java launcher; -1
    // when the user chose to stop and System.exit did not end the process.
    int m_mainExitCode = 0;

    // Single instance: a later start's handle of the first instance's process,
    // and the first instance's message that the arguments have been taken.
    UniqueHandle m_hFirstInstance;
    DWORD m_firstInstanceId = 0;
    UINT m_takenMessage = 0;
    // The name of the single-instance objects, and the name under which a
    // launcher started by a first instance's hand-over takes its role over.
    String m_instanceName;
    String m_takenOverInstance;
    // "VM Provider" favours IBM and the runtime is an IBM one: the launch
    // thread stays with the VM after main, and forwarded starts stay attached.
    bool m_keepVmThreads = false;
    // This launcher was started by a hand-over from its pair.
    bool m_startedByHandOver = false;

    // "Class Data Sharing" is Yes: the VM keeps the application's classes in
    // an archive per user.
    bool m_classDataSharing = false;
    // "Restart Code", 0 when none; the restart mark this launcher was started
    // with; the folder it was started in; the values of the variables the
    // launch sets, as they were before; whether it has started its successor.
    int m_restartCode = 0;
    String m_restartMark;
    String m_startFolder;
    StringList m_restartEnvironment;
    bool m_restartStarted = false;

    // Entry points of the loaded JVM library.
    CreateJavaVMFunction m_pfnCreateJavaVM = nullptr;
    GetDefaultJavaVMInitArgsFunction m_pfnGetDefaultJavaVMInitArgs = nullptr;
    FindClassFromBootLoaderFunction m_pfnFindClassFromBootLoader = nullptr;
};
