// The invocation interface: JNI_CreateJavaVM with its option checks,
// JNI_GetDefaultJavaVMInitArgs, the JavaVM function table and, in the helper
// variant, JVM_FindClassFromBootLoader.

// The .def file names the exports; jni.h's declarations must not add
// decorated duplicates (JNI_CreateJavaVM@12) through dllexport.
#include "jni_md.h"
#undef JNIIMPORT
#define JNIIMPORT

#include <cstdio>
#include <cstring>

#include "ClassTable.h"
#include "Holds.h"
#include "JvmText.h"
#include "LogWriter.h"
#include "Modules.h"

namespace fakejvm {
namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

// The JNI 1.1 argument record, as far as JNI_GetDefaultJavaVMInitArgs fills it.
struct Jdk11InitArgs {
  jint version;
  char** properties;
  jint checkSource;
  jint nativeStackSize;
  jint javaStackSize;
};

bool IsSupportedVersion(jint version) {
  switch (version) {
    case JNI_VERSION_1_2:
    case JNI_VERSION_1_4:
    case JNI_VERSION_1_6:
    case JNI_VERSION_1_8:
    case JNI_VERSION_9:
    case JNI_VERSION_10:
      return true;
    default:
      return false;
  }
}

std::wstring Hex(jint value) {
  wchar_t text[16];
  swprintf(text, 16, L"0x%08lx", static_cast<unsigned long>(value));
  return text;
}

bool ReadIntVariable(const wchar_t* name, long& value) {
  wchar_t text[32];
  DWORD n = GetEnvironmentVariableW(name, text, 32);
  if (n == 0 || n >= 32) return false;
  wchar_t* end = nullptr;
  value = wcstol(text, &end, 0);
  return end != text;
}

bool IsSize(const char* text) {
  if (!isdigit(static_cast<unsigned char>(*text))) return false;
  while (isdigit(static_cast<unsigned char>(*text))) ++text;
  if (*text && strchr("kKmMgGtT", *text)) ++text;
  return *text == '\0';
}

bool StartsWith(const char* text, const char* prefix) { return strncmp(text, prefix, strlen(prefix)) == 0; }

// The options a VM of this kind accepts; anything else is unrecognised.
bool IsKnownOption(const char* o) {
  if (*o == '\0') return false;  // "Unrecognized option: " in a real runtime
  if (StartsWith(o, "-D")) return o[2] != '\0' && o[2] != '=';
  if (StartsWith(o, "-Xmx") || StartsWith(o, "-Xms") || StartsWith(o, "-Xss")) return IsSize(o + 4);
  if (strcmp(o, "-Xrs") == 0) return true;
  if (StartsWith(o, "-Xshare:")) return strcmp(o + 8, "auto") == 0 || strcmp(o + 8, "on") == 0 || strcmp(o + 8, "off") == 0;
  if (StartsWith(o, "-verbose")) return o[8] == '\0' || o[8] == ':';
  if (StartsWith(o, "-XX:")) return o[4] != '\0';
  return strcmp(o, "abort") == 0 || strcmp(o, "exit") == 0;
}

void LogEnvironment() {
  for (const wchar_t* name : {L"OZ_JVM_PATH", L"OZ_JVM_HOME", L"Path"}) {
    DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0) continue;  // not set: no record
    std::wstring value(n, L'\0');
    n = GetEnvironmentVariableW(name, &value[0], n);
    value.resize(n);
    WriteRecord({L"env", name, value});
  }
  DWORD n = GetCurrentDirectoryW(0, nullptr);
  std::wstring cwd(n, L'\0');
  n = GetCurrentDirectoryW(n, &cwd[0]);
  cwd.resize(n);
  WriteRecord({L"cwd", cwd});
}

jint Result(jint r) {
  WriteRecord({L"create", std::to_wstring(r)});
  return r;
}

// --- JavaVM functions ---

jint JNICALL DestroyJavaVM(JavaVM*) {
  VmState& vm = Vm();
  WriteRecord({L"destroy", GetCurrentThreadId() == vm.creatorThread ? L"same" : L"other"});
  {
    Lock guard(vm.lock);
    if (!vm.created || vm.destroyed) return JNI_ERR;
  }
  // Like a real VM: wait until the application's other threads have ended.
  for (;;) {
    {
      Lock guard(vm.lock);
      bool lingering = vm.keepAlive && GetTickCount64() < vm.keepAliveUntil;
      if (!lingering && OtherLiveThreads() == 0) {
        vm.destroyed = true;
        return JNI_OK;
      }
    }
    Sleep(20);
  }
}

jint AttachThread(void** penv, bool daemon, void* args) {
  VmState& vm = Vm();
  Lock guard(vm.lock);
  if (!penv) return JNI_EINVAL;
  if (!vm.created || vm.destroyed) return JNI_ERR;
  ThreadState& ts = CurrentThread();
  if (!ts.attached) {
    static int counter = 0;
    // A name given in the attach arguments (modified UTF-8; ASCII here).
    const JavaVMAttachArgs* attach = static_cast<const JavaVMAttachArgs*>(args);
    std::wstring name = L"Thread-" + std::to_wstring(counter++);
    if (attach && attach->name)
      name.assign(attach->name, attach->name + strlen(attach->name));
    Attach(ts, daemon, name);
    WriteRecord({L"attach", daemon ? L"daemon" : L"thread", name});
  }
  *penv = &ts.env;
  return JNI_OK;
}

jint JNICALL AttachCurrentThread(JavaVM*, void** penv, void* args) { return AttachThread(penv, false, args); }

jint JNICALL AttachCurrentThreadAsDaemon(JavaVM*, void** penv, void* args) { return AttachThread(penv, true, args); }

jint JNICALL DetachCurrentThread(JavaVM*) {
  WriteRecord({L"detach"});
  Lock guard(Vm().lock);
  ThreadState& ts = CurrentThread();
  if (!ts.attached) return JNI_OK;
  // An exception still pending when a thread leaves the VM is uncaught: the
  // VM prints it on System.err, as the real one does at this point.
  if (ts.pending) {
    Ref t = std::move(ts.pending);
    ts.pending.reset();
    WriteRecord({L"uncaught", ThrowableText(*t)});
    PrintUncaught(ts, *t);
  }
  ts.attached = false;
  DropLocalRefs(ts.id);
  return JNI_OK;
}

jint JNICALL GetEnv(JavaVM*, void** penv, jint version) {
  if (!penv) return JNI_EINVAL;
  *penv = nullptr;
  if (version != JNI_VERSION_1_1 && !IsSupportedVersion(version)) return JNI_EVERSION;
  Lock guard(Vm().lock);
  ThreadState& ts = CurrentThread();
  if (!Vm().created || Vm().destroyed || !ts.attached) return JNI_EDETACHED;
  *penv = &ts.env;
  return JNI_OK;
}

const JNIInvokeInterface_ kInvokeTable = {
    nullptr, nullptr, nullptr, DestroyJavaVM, AttachCurrentThread, DetachCurrentThread, GetEnv,
    AttachCurrentThreadAsDaemon,
};

JavaVM g_javaVm = {&kInvokeTable};

}  // namespace

JavaVM* TheJavaVM() { return &g_javaVm; }

}  // namespace fakejvm

using namespace fakejvm;

extern "C" {

jint JNICALL JNI_CreateJavaVM(JavaVM** pvm, void** penv, void* rawArgs) {
  WaitForHold(L"JL_FAKEJVM_CREATE_HOLD");
  VmState& vm = Vm();
  Lock guard(vm.lock);
  if (!pvm || !penv || !rawArgs) return Result(JNI_EINVAL);
  const auto* args = static_cast<const JavaVMInitArgs*>(rawArgs);
  WriteRecord({L"version", Hex(args->version)});
  WriteRecord({L"ignoreUnrecognized", args->ignoreUnrecognized ? L"1" : L"0"});
  if (args->nOptions < 0 || (args->nOptions > 0 && !args->options)) return Result(JNI_EINVAL);

  bool unrecognised = false;
  ExitHook exitHook = nullptr;
  AbortHook abortHook = nullptr;
  for (jint i = 0; i < args->nOptions; ++i) {
    const JavaVMOption& option = args->options[i];
    if (!option.optionString) return Result(JNI_EINVAL);
    std::wstring text = FromAnsi(option.optionString);
    WriteRecord({L"option", text});
    if (text.compare(0, 2, L"-D") == 0) {
      size_t equals = text.find(L'=');
      vm.properties[text.substr(2, equals == std::wstring::npos ? equals : equals - 2)] =
          equals == std::wstring::npos ? L"" : text.substr(equals + 1);
    }
    if (strcmp(option.optionString, "exit") == 0) {
      exitHook = reinterpret_cast<ExitHook>(option.extraInfo);
    } else if (strcmp(option.optionString, "abort") == 0) {
      abortHook = reinterpret_cast<AbortHook>(option.extraInfo);
    } else if (!IsKnownOption(option.optionString) && !args->ignoreUnrecognized) {
      unrecognised = true;
    }
#ifdef JL_FAKEJVM_HELPER
    // A runtime of 9 or later: it has the module options.
    if (NoteModuleOption(option.optionString)) unrecognised = false;
#endif
  }
  LogEnvironment();

  long forced;
  if (ReadIntVariable(L"JL_FAKEJVM_CREATE_RESULT", forced) && forced != 0) {
    return Result(static_cast<jint>(forced));  // a forced failure creates nothing
  }
  if (vm.created) return Result(JNI_EEXIST);
  if (!IsSupportedVersion(args->version)) return Result(JNI_EVERSION);
  if (unrecognised) return Result(JNI_ERR);
#ifdef JL_FAKEJVM_HELPER
  ResolveBootLayer(abortHook);
#endif

  vm.created = true;
  vm.creatorThread = GetCurrentThreadId();
  vm.exitHook = exitHook;
  vm.abortHook = abortHook;
  vm.out = NewStdStream(STD_OUTPUT_HANDLE);
  vm.err = NewStdStream(STD_ERROR_HANDLE);
  InstallConsoleHandler();
  ThreadState& ts = CurrentThread();
  Attach(ts, false, L"main");
  *pvm = TheJavaVM();
  *penv = &ts.env;
  return Result(JNI_OK);
}

jint JNICALL JNI_GetDefaultJavaVMInitArgs(void* rawArgs) {
  if (!rawArgs) return JNI_EINVAL;
  auto* args = static_cast<Jdk11InitArgs*>(rawArgs);
  WriteRecord({L"defaultargs", Hex(args->version)});
  if (args->version == JNI_VERSION_1_1) {
    long stack = 0;
    ReadIntVariable(L"JL_FAKEJVM_DEFAULT_STACK", stack);
    args->javaStackSize = static_cast<jint>(stack);
    return JNI_OK;
  }
  return IsSupportedVersion(args->version) ? JNI_OK : JNI_EVERSION;
}

#ifdef JL_FAKEJVM_HELPER
// Resolves boot classes without the class path; returns null (and leaves no
// exception) for names it does not know, as the runtime's own does.
jclass JNICALL JVM_FindClassFromBootLoader(JNIEnv* env, const char* name) {
  Enter(env);
  Lock guard(Vm().lock);
  std::wstring wide = FromModifiedUtf8(name);
  WriteRecord({L"bootloader", wide});
  std::string slashed = ToUtf8(wide);
  if (slashed.compare(0, 5, "test/") == 0) return nullptr;  // application classes are not boot classes
  const ClassInfo* cls = FindClassInfo(slashed);
  return cls ? static_cast<jclass>(NewLocalRef(ClassObject(cls))) : nullptr;
}
#endif

}  // extern "C"
