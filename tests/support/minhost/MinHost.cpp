// The floor for the launcher's start-up: the least a program can do to run
// the same Java main in its own process. It imports the system DLLs the
// launcher imports, loads the runtime beside it (jre\bin\server\jvm.dll, by
// full path), creates the VM, calls test.RecordArgs.main with no arguments
// and destroys the VM. scripts/bench times the launcher against it.
//
// Like the launcher, and like every host that lets the application choose
// the stack of its main thread (-Xss), it runs the VM on a thread of its own
// and waits for it. With the argument --entry-thread it runs the VM on the
// entry thread instead, which shows what that thread costs.

#include <windows.h>

#include <shlwapi.h>

#include <jni.h>

namespace {

using CreateJavaVmFunction = jint(JNICALL*)(JavaVM**, void**, void*);

// One function of each DLL the launcher imports, so that the loader maps the
// same set before main runs; nothing calls them. scripts/bench compares the
// two import lists: when the launcher gains a DLL, add it here.
const void* volatile g_imports[] = {
    reinterpret_cast<const void*>(&MessageBoxW),      // user32
    reinterpret_cast<const void*>(&RegOpenKeyExW),    // advapi32
    reinterpret_cast<const void*>(&PathFileExistsW),  // shlwapi
    reinterpret_cast<const void*>(&DeleteObject),     // gdi32
};

const wchar_t kRuntime[] = L"jre\\bin\\server\\jvm.dll";
wchar_t g_path[32768];

// The full path of the runtime beside this program, or false when it does not fit.
bool RuntimePath()
{
    DWORD length = GetModuleFileNameW(nullptr, g_path, ARRAYSIZE(g_path));
    if (length == 0 || length >= ARRAYSIZE(g_path))
        return false;
    while (length && g_path[length - 1] != L'\\')
        --length;
    if (length + ARRAYSIZE(kRuntime) > ARRAYSIZE(g_path))
        return false;
    for (size_t i = 0; i < ARRAYSIZE(kRuntime); ++i)
        g_path[length + i] = kRuntime[i];
    return true;
}

CreateJavaVmFunction g_createJavaVm = nullptr;
JavaVM* g_vm = nullptr;

DWORD WINAPI RunJava(void*)
{
    auto createJavaVm = g_createJavaVm;
    char classPath[] = "-Djava.class.path=.";
    JavaVMOption option = {};
    option.optionString = classPath;
    JavaVMInitArgs arguments = {};
    arguments.version = JNI_VERSION_1_2;
    arguments.nOptions = 1;
    arguments.options = &option;
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    if (createJavaVm(&vm, reinterpret_cast<void**>(&env), &arguments) != JNI_OK)
        return 3;
    jclass mainClass = env->FindClass("test/RecordArgs");
    jmethodID main = mainClass ? env->GetStaticMethodID(mainClass, "main", "([Ljava/lang/String;)V") : nullptr;
    jclass stringClass = env->FindClass("java/lang/String");
    jobjectArray args = stringClass ? env->NewObjectArray(0, stringClass, nullptr) : nullptr;
    if (!main || !args)
        return 4;
    env->CallStaticVoidMethod(mainClass, main, args);
    DWORD result = env->ExceptionOccurred() ? 1 : 0;
    g_vm = vm;
    vm->DetachCurrentThread();
    return result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int)
{
    // What every GUI program does before its own work (the window
    // framework's first call); without it Wine takes seconds to end the process.
    DefWindowProcW(nullptr, WM_NULL, 0, 0);
    // Loaded for the rest of the process, as the launcher keeps its runtime.
    HMODULE jvm = RuntimePath() ? LoadLibraryW(g_path) : nullptr;
    g_createJavaVm =
        jvm ? reinterpret_cast<CreateJavaVmFunction>(reinterpret_cast<void*>(GetProcAddress(jvm, "JNI_CreateJavaVM")))
            : nullptr;
    if (!g_createJavaVm)
        return 2;
    DWORD result = 0;
    HANDLE thread = StrStrW(commandLine, L"--entry-thread") ? nullptr : CreateThread(nullptr, 0, RunJava, nullptr, 0, nullptr);
    if (thread) {
        WaitForSingleObject(thread, INFINITE);
        if (!GetExitCodeThread(thread, &result))
            result = 5;
        CloseHandle(thread);
    } else {
        result = RunJava(nullptr);
    }
    // The VM is destroyed from the entry thread, as the launcher does.
    if (g_vm)
        g_vm->DestroyJavaVM();
    return static_cast<int>(result);
}
