// Tests of the stand-in Java runtime (tests/support/fakejvm): the contract
// the launcher's tests rely on. A process can create only one VM, so every
// scenario that creates one runs in a child process: this program started
// again with JL_FAKEJVM_SCENARIO set and only FakeJvmChild.<scenario>
// selected. The child asserts what it sees through JNI; the parent checks the
// child's exit code, its output and the log.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "jni.h"
#include "support/fakejvm/FakeJvmLog.h"

namespace {

using CreateJavaVMFn = jint(JNICALL*)(JavaVM**, void**, void*);
using GetDefaultArgsFn = jint(JNICALL*)(void*);
using FindBootClassFn = jclass(JNICALL*)(JNIEnv*, const char*);
using Env = std::vector<std::pair<std::wstring, std::wstring>>;

constexpr DWORD kFatal = 0x4A4E49;

std::wstring GetEnv(const wchar_t* name) {
  DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
  if (n == 0) return std::wstring();
  std::wstring value(n, L'\0');
  value.resize(GetEnvironmentVariableW(name, &value[0], n));
  return value;
}

// JL_BUILD_DIR (a Unix path under Wine); without it, two folders above this
// program (<build>\tests\jvm\fakejvm_tests.exe).
std::wstring BuildDir() {
  std::wstring dir = GetEnv(L"JL_BUILD_DIR");
  if (dir.empty()) {
    wchar_t self[MAX_PATH];
    dir.assign(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    for (int i = 0; i < 3; ++i) dir.resize(dir.find_last_of(L'\\'));
    return dir;
  }
  for (wchar_t& c : dir) {
    if (c == L'/') c = L'\\';
  }
  return dir.size() > 1 && dir[1] == L':' ? dir : L"Z:" + dir;
}

HMODULE LoadFake(const std::wstring& relative) {
  std::wstring path = BuildDir() + L"\\fakejvm\\" + relative;
  HMODULE module = LoadLibraryW(path.c_str());
  EXPECT_NE(module, nullptr) << "cannot load " << std::string(path.begin(), path.end());
  return module;
}

template <typename Fn>
Fn Entry(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::wstring TempPath(const std::wstring& name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + L"fakejvm_" + std::to_wstring(GetCurrentProcessId()) + L"_" + name;
}

std::string ReadBytes(const std::wstring& path) {
  std::string bytes;
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return bytes;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0) bytes.append(buffer, n);
  fclose(f);
  return bytes;
}

// Sets environment variables for the lifetime of the object.
class ScopedEnv {
 public:
  explicit ScopedEnv(const Env& vars) {
    for (const auto& v : vars) {
      saved_.push_back({v.first, GetEnv(v.first.c_str())});
      SetEnvironmentVariableW(v.first.c_str(), v.second.empty() ? nullptr : v.second.c_str());
    }
  }
  ~ScopedEnv() {
    for (const auto& v : saved_) {
      SetEnvironmentVariableW(v.first.c_str(), v.second.empty() ? nullptr : v.second.c_str());
    }
  }

 private:
  Env saved_;
};

struct ChildResult {
  DWORD exitCode = 0;
  FakeJvmLog log;
  std::string output;  // standard output and error together
};

ChildResult RunChild(const std::wstring& scenario, Env env = {}) {
  std::wstring logPath = TempPath(scenario + L".log");
  std::wstring outPath = TempPath(scenario + L".out");
  DeleteFileW(logPath.c_str());
  env.push_back({L"JL_FAKEJVM_SCENARIO", scenario});
  env.push_back({L"JL_FAKEJVM_LOG", logPath});
  env.push_back({L"JL_FAKEJVM_TEST_OUT", outPath});
  ScopedEnv scoped(env);

  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=FakeJvmChild." + scenario;
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = out;
  si.hStdError = out;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi = {};
  ChildResult result;
  result.exitCode = 0xFFFFFFFF;
  if (CreateProcessW(self, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 0xDEAD);
    GetExitCodeProcess(pi.hProcess, &result.exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(out);
  result.output = ReadBytes(outPath);
  result.log = FakeJvmLog::Read(logPath);
  DeleteFileW(outPath.c_str());
  DeleteFileW(logPath.c_str());
  return result;
}

// --- child-side helpers ---

bool IsChild(const wchar_t* scenario) { return GetEnv(L"JL_FAKEJVM_SCENARIO") == scenario; }

#define CHILD_ONLY(name)                                   \
  if (!IsChild(name)) GTEST_SKIP() << "runs in a child process"

void JNICALL ExitHook(jint code) {
  std::wstring path = GetEnv(L"JL_FAKEJVM_TEST_OUT");
  FILE* f = _wfopen(path.c_str(), L"ab");
  if (f) {
    fprintf(f, "exit hook %ld\n", static_cast<long>(code));
    fclose(f);
  }
}

void JNICALL AbortHook() {}

void CdeclExitHook(jint) {}  // wrong convention on x86

void* g_exitHook = reinterpret_cast<void*>(&ExitHook);

jint Create(HMODULE lib, std::vector<std::string> options, JavaVM** vm, JNIEnv** env,
            jint version = JNI_VERSION_1_2) {
  std::vector<JavaVMOption> records;
  for (std::string& o : options) {
    JavaVMOption r = {&o[0], nullptr};
    if (o == "exit") r.extraInfo = g_exitHook;
    if (o == "abort") r.extraInfo = reinterpret_cast<void*>(&AbortHook);
    records.push_back(r);
  }
  JavaVMInitArgs args = {};
  args.version = version;
  args.nOptions = static_cast<jint>(records.size());
  args.options = records.data();
  args.ignoreUnrecognized = JNI_FALSE;
  if (!lib) return -1000;  // LoadFake has reported it
  return Entry<CreateJavaVMFn>(lib, "JNI_CreateJavaVM")(vm, reinterpret_cast<void**>(env), &args);
}

struct Vm {
  JavaVM* vm = nullptr;
  JNIEnv* env = nullptr;
};

Vm CreateOrFail(const wchar_t* variant, std::vector<std::string> options = {"abort", "exit"}) {
  Vm v;
  HMODULE lib = LoadFake(std::wstring(variant) + L"\\jvm.dll");
  EXPECT_EQ(Create(lib, std::move(options), &v.vm, &v.env), JNI_OK);
  return v;
}

jstring JStr(JNIEnv* env, const std::wstring& text) {
  return env->NewString(reinterpret_cast<const jchar*>(text.data()), static_cast<jsize>(text.size()));
}

std::wstring WStr(JNIEnv* env, jstring s) {
  const jchar* chars = env->GetStringChars(s, nullptr);
  std::wstring text(chars, chars + env->GetStringLength(s));
  env->ReleaseStringChars(s, chars);
  return text;
}

std::string Utf(JNIEnv* env, jstring s) {
  const char* chars = env->GetStringUTFChars(s, nullptr);
  std::string text(chars);
  env->ReleaseStringUTFChars(s, chars);
  return text;
}

jobjectArray Args(JNIEnv* env, const std::vector<std::wstring>& values) {
  jobjectArray array = env->NewObjectArray(static_cast<jsize>(values.size()), env->FindClass("java/lang/String"),
                                           nullptr);
  for (size_t i = 0; i < values.size(); ++i) {
    env->SetObjectArrayElement(array, static_cast<jsize>(i), JStr(env, values[i]));
  }
  return array;
}

void RunMain(JNIEnv* env, const char* cls, const std::vector<std::wstring>& args) {
  jclass c = env->FindClass(cls);
  ASSERT_NE(c, nullptr) << cls;
  jmethodID main = env->GetStaticMethodID(c, "main", "([Ljava/lang/String;)V");
  ASSERT_NE(main, nullptr) << cls;
  env->CallStaticVoidMethod(c, main, Args(env, args));
}

// A PrintStream over a new ByteArrayOutputStream; returns both.
std::pair<jobject, jobject> ByteStream(JNIEnv* env) {
  jclass bytesClass = env->FindClass("java/io/ByteArrayOutputStream");
  jobject bytes = env->NewObject(bytesClass, env->GetMethodID(bytesClass, "<init>", "()V"));
  jclass printClass = env->FindClass("java/io/PrintStream");
  jobject print = env->NewObject(printClass, env->GetMethodID(printClass, "<init>", "(Ljava/io/OutputStream;)V"),
                                 bytes);
  return {bytes, print};
}

std::wstring ToString(JNIEnv* env, jobject bytes) {
  jmethodID toString = env->GetMethodID(env->GetObjectClass(bytes), "toString", "()Ljava/lang/String;");
  return WStr(env, static_cast<jstring>(env->CallObjectMethod(bytes, toString)));
}

void SetStream(JNIEnv* env, const char* setter, jobject printStream) {
  jclass system = env->FindClass("java/lang/System");
  env->CallStaticVoidMethod(system, env->GetStaticMethodID(system, setter, "(Ljava/io/PrintStream;)V"),
                            printStream);
}

// FileOutputStream(path, append) wrapped in a PrintStream, or null.
jobject FileStream(JNIEnv* env, const std::wstring& path, bool append) {
  jclass fileClass = env->FindClass("java/io/FileOutputStream");
  jobject file = env->NewObject(fileClass, env->GetMethodID(fileClass, "<init>", "(Ljava/lang/String;Z)V"),
                                JStr(env, path), append ? JNI_TRUE : JNI_FALSE);
  if (!file) return nullptr;
  jclass printClass = env->FindClass("java/io/PrintStream");
  return env->NewObject(printClass, env->GetMethodID(printClass, "<init>", "(Ljava/io/OutputStream;)V"), file);
}

// Takes the pending exception and returns "class: message" as toString gives it.
std::wstring TakeException(JNIEnv* env) {
  jthrowable t = env->ExceptionOccurred();
  if (!t) return L"(none)";
  env->ExceptionClear();
  jmethodID toString = env->GetMethodID(env->GetObjectClass(t), "toString", "()Ljava/lang/String;");
  return WStr(env, static_cast<jstring>(env->CallObjectMethod(t, toString)));
}

}  // namespace

// ======================= in-process tests (no VM created) =======================

TEST(FakeJvm, DefaultArgsFillJavaStackSizeOfTheJdk11Record) {
  HMODULE lib = LoadFake(L"plain\\jvm.dll");
  auto getDefault = Entry<GetDefaultArgsFn>(lib, "JNI_GetDefaultJavaVMInitArgs");
  ASSERT_NE(getDefault, nullptr);
  // Field order of the JNI 1.1 record up to javaStackSize; the rest is padding.
  struct Record {
    jint version;
    char** properties;
    jint checkSource;
    jint nativeStackSize;
    jint javaStackSize;
    unsigned char rest[96];
  };
  const struct { const wchar_t* variable; jint version; jint expectedStack; jint expectedResult; } cases[] = {
      {L"1048576", JNI_VERSION_1_1, 1048576, JNI_OK},
      {L"-5", JNI_VERSION_1_1, -5, JNI_OK},
      {L"", JNI_VERSION_1_1, 0, JNI_OK},
      {L"1048576", JNI_VERSION_1_2, 0x77777777, JNI_OK},   // only the 1.1 record carries the size
      {L"1048576", 0x00020000, 0x77777777, JNI_EVERSION},
  };
  for (const auto& c : cases) {
    ScopedEnv env(Env{{L"JL_FAKEJVM_DEFAULT_STACK", c.variable}});
    Record r;
    memset(&r, 0, sizeof(r));
    r.version = c.version;
    r.javaStackSize = 0x77777777;
    EXPECT_EQ(getDefault(&r), c.expectedResult) << c.variable;
    EXPECT_EQ(r.javaStackSize, c.expectedStack == 0x77777777 ? 0x77777777 : c.expectedStack) << c.variable;
    EXPECT_EQ(r.nativeStackSize, 0);
    EXPECT_EQ(r.checkSource, 0);
  }
}

TEST(FakeJvm, VariantsExportWhatTheContractSays) {
  HMODULE plain = LoadFake(L"plain\\jvm.dll");
  HMODULE helper = LoadFake(L"helper\\jvm.dll");
  HMODULE nocreate = LoadFake(L"nocreate\\jvm.dll");
  ASSERT_TRUE(plain && helper && nocreate);
  ASSERT_NE(plain, helper);
  EXPECT_NE(GetProcAddress(plain, "JNI_CreateJavaVM"), nullptr);
  EXPECT_NE(GetProcAddress(plain, "JNI_GetDefaultJavaVMInitArgs"), nullptr);
  EXPECT_EQ(GetProcAddress(plain, "JVM_FindClassFromBootLoader"), nullptr);
  EXPECT_NE(GetProcAddress(helper, "JVM_FindClassFromBootLoader"), nullptr);
  EXPECT_EQ(GetProcAddress(nocreate, "JNI_CreateJavaVM"), nullptr);
  EXPECT_EQ(GetProcAddress(nocreate, "JNI_GetDefaultJavaVMInitArgs"), nullptr);
  EXPECT_EQ(GetProcAddress(plain, "JNI_CreateJavaVM@12"), nullptr);  // undecorated names only
  EXPECT_NE(LoadFake(L"java.dll"), nullptr);
}

TEST(FakeJvm, SplashLibraryRecordsItsCallsInOrder) {
  std::wstring logPath = TempPath(L"splash.log");
  DeleteFileW(logPath.c_str());
  ScopedEnv env(Env{{L"JL_FAKEJVM_LOG", logPath}});
  HMODULE lib = LoadFake(L"splashscreen.dll");
  ASSERT_NE(lib, nullptr);
  Entry<void (*)()>(lib, "SplashInit")();
  Entry<int (*)(const char*)>(lib, "SplashLoadFile")("C:\\app\\splash pic.png");
  Entry<void (*)(const char*, const char*)>(lib, "SplashSetFileJarName")("C:\\app\\splash pic.png", "");
  Entry<void (*)()>(lib, "SplashClose")();
  FakeJvmLog log = FakeJvmLog::Read(logPath);
  DeleteFileW(logPath.c_str());
  std::vector<std::vector<std::wstring>> expected = {
      {L"splash", L"SplashInit"},
      {L"splash", L"SplashLoadFile", L"C:\\app\\splash pic.png"},
      {L"splash", L"SplashSetFileJarName", L"C:\\app\\splash pic.png", L""},
      {L"splash", L"SplashClose"},
  };
  EXPECT_EQ(log.All(L"splash"), expected);
}

TEST(FakeJvm, LogReaderUndoesEscapesAndDecodesUtf8) {
  std::wstring path = TempPath(L"reader.log");
  FILE* f = _wfopen(path.c_str(), L"wb");
  ASSERT_NE(f, nullptr);
  fputs("option\t-Da=b\\tc\\\\d\\ne\r\narg\t\xC3\xBC\xF0\x9F\x98\x80\n\nmainend\n", f);
  fclose(f);
  FakeJvmLog log = FakeJvmLog::Read(path);
  DeleteFileW(path.c_str());
  EXPECT_EQ(log.Values(L"option"), std::vector<std::wstring>{L"-Da=b\tc\\d\ne"});
  EXPECT_EQ(log.Values(L"arg"), std::vector<std::wstring>{L"\u00fc\U0001F600"});
  EXPECT_TRUE(log.Has(L"mainend"));
  EXPECT_FALSE(log.Has(L"main"));
  EXPECT_TRUE(FakeJvmLog::Read(path).records.empty());
}

// ======================= scenarios in a child process =======================

TEST(FakeJvmChild, Basics) {
  CHILD_ONLY(L"Basics");
  HMODULE lib = LoadFake(L"plain\\jvm.dll");
  JavaVM* vm = nullptr;
  JNIEnv* env = nullptr;
  ASSERT_EQ(Create(lib, {"-Djava.class.path=C:\\app\\a.jar;C:\\app\\b.jar", "-Dname=v\xFC", "-Xmx512m",
                         "-Xms64M", "-Xss1m", "-Xrs", "-verbose:gc", "-XX:+UseG1GC", "", "abort", "exit"},
                   &vm, &env),
            JNI_OK);
  ASSERT_TRUE(vm && env);
  JavaVM* second = nullptr;
  JNIEnv* secondEnv = nullptr;
  EXPECT_EQ(Create(lib, {"abort", "exit"}, &second, &secondEnv), JNI_EEXIST);
  EXPECT_EQ(second, nullptr);

  // Strings: UTF-16 in, modified UTF-8 out (U+0000 as C0 80, non-BMP as two 3-byte surrogates).
  std::wstring text(L"a\0\u00fc\U0001F600", 5);
  jstring s = JStr(env, text);
  EXPECT_EQ(env->GetStringLength(s), 5);
  EXPECT_EQ(Utf(env, s), "a\xC0\x80\xC3\xBC\xED\xA0\xBD\xED\xB8\x80");
  EXPECT_EQ(env->GetStringUTFLength(s), 11);
  EXPECT_EQ(WStr(env, env->NewStringUTF("a\xC0\x80\xC3\xBC\xED\xA0\xBD\xED\xB8\x80")), text);
  // The String(char[]) constructor the launcher uses.
  jclass stringClass = env->FindClass("java/lang/String");
  jcharArray chars = env->NewCharArray(5);
  env->SetCharArrayRegion(chars, 0, 5, reinterpret_cast<const jchar*>(text.data()));
  jobject fromChars = env->NewObject(stringClass, env->GetMethodID(stringClass, "<init>", "([C)V"), chars);
  EXPECT_EQ(WStr(env, static_cast<jstring>(fromChars)), text);
  env->SetCharArrayRegion(chars, 3, 3, reinterpret_cast<const jchar*>(text.data()));
  EXPECT_EQ(TakeException(env), L"java.lang.ArrayIndexOutOfBoundsException");

  // Object arrays.
  jobjectArray array = env->NewObjectArray(2, stringClass, nullptr);
  EXPECT_EQ(env->GetArrayLength(array), 2);
  EXPECT_EQ(env->GetObjectArrayElement(array, 0), nullptr);
  env->SetObjectArrayElement(array, 1, s);
  EXPECT_TRUE(env->IsSameObject(env->GetObjectArrayElement(array, 1), s));
  env->SetObjectArrayElement(array, 2, s);
  EXPECT_EQ(TakeException(env), L"java.lang.ArrayIndexOutOfBoundsException: Index 2 out of bounds for length 2");
  env->SetObjectArrayElement(array, 0, stringClass);
  EXPECT_EQ(TakeException(env), L"java.lang.ArrayStoreException: java.lang.Class");

  // Lookups that fail leave the exception a real VM leaves.
  EXPECT_EQ(env->FindClass("com/example/Missing"), nullptr);
  EXPECT_TRUE(env->ExceptionCheck());
  EXPECT_EQ(TakeException(env), L"java.lang.NoClassDefFoundError: com/example/Missing");
  jclass noMain = env->FindClass("test.NoMain");  // dotted names resolve too
  ASSERT_NE(noMain, nullptr);
  EXPECT_EQ(env->GetStaticMethodID(noMain, "main", "([Ljava/lang/String;)V"), nullptr);
  EXPECT_EQ(TakeException(env), L"java.lang.NoSuchMethodError: main");
  EXPECT_EQ(env->ExceptionOccurred(), nullptr);

  // Output redirection into a real file, then appending and truncating.
  std::wstring outFile = TempPath(L"out.txt");
  jobject out = FileStream(env, outFile, false);
  ASSERT_NE(out, nullptr);
  SetStream(env, "setOut", out);
  std::pair<jobject, jobject> err = ByteStream(env);
  SetStream(env, "setErr", err.second);
  RunMain(env, "test/PrintOut", {L"a", L"\u00fc"});
  EXPECT_EQ(ReadBytes(outFile), "out:a\r\nout:\xC3\xBC\r\n");
  EXPECT_EQ(ToString(env, err.first), L"err:a\r\nerr:\u00fc\r\n");
  SetStream(env, "setOut", FileStream(env, outFile, true));
  RunMain(env, "test/PrintOut", {L"b"});
  EXPECT_EQ(ReadBytes(outFile), "out:a\r\nout:\xC3\xBC\r\nout:b\r\n");
  SetStream(env, "setOut", FileStream(env, outFile, false));
  RunMain(env, "test/PrintOut", {L"c"});
  EXPECT_EQ(ReadBytes(outFile), "out:c\r\n");
  EXPECT_EQ(FileStream(env, TempPath(L"no_such_folder\\out.txt"), false), nullptr);
  EXPECT_EQ(TakeException(env).rfind(L"java.io.FileNotFoundException: ", 0), 0u);

  // An exception escaping main, its stack trace and ExceptionDescribe.
  RunMain(env, "test/Throws", {});
  jthrowable thrown = env->ExceptionOccurred();
  ASSERT_NE(thrown, nullptr);
  env->ExceptionClear();
  std::pair<jobject, jobject> trace = ByteStream(env);
  env->CallVoidMethod(thrown, env->GetMethodID(env->GetObjectClass(thrown), "printStackTrace",
                                               "(Ljava/io/PrintStream;)V"), trace.second);
  EXPECT_EQ(ToString(env, trace.first), L"java.lang.IllegalStateException: boom\n\tat test.Throws.main(Main.java)\n");
  std::pair<jobject, jobject> described = ByteStream(env);
  SetStream(env, "setErr", described.second);
  env->Throw(thrown);
  env->ExceptionDescribe();
  EXPECT_FALSE(env->ExceptionCheck());
  EXPECT_EQ(ToString(env, described.first),
            L"Exception in thread \"main\" java.lang.IllegalStateException: boom\n\tat test.Throws.main(Main.java)\n");
  RunMain(env, "test/Exit", {L"x"});
  EXPECT_EQ(TakeException(env), L"java.lang.NumberFormatException: For input string: \"x\"");

  // main on this thread and on an attached one; a thread that is not attached has no env.
  RunMain(env, "test/RecordArgs", {L"one", L"t\u00e9st \"q\"", L""});
  std::thread other([vm] {
    JNIEnv* none = reinterpret_cast<JNIEnv*>(1);
    EXPECT_EQ(vm->GetEnv(reinterpret_cast<void**>(&none), JNI_VERSION_1_2), JNI_EDETACHED);
    EXPECT_EQ(none, nullptr);
    JNIEnv* mine = nullptr;
    ASSERT_EQ(vm->AttachCurrentThread(reinterpret_cast<void**>(&mine), nullptr), JNI_OK);
    RunMain(mine, "test/RecordArgs", {L"from other"});
    EXPECT_EQ(vm->DetachCurrentThread(), JNI_OK);
  });
  other.join();
  EXPECT_EQ(vm->DetachCurrentThread(), JNI_OK);
  EXPECT_EQ(vm->DestroyJavaVM(), JNI_OK);
  DeleteFileW(outFile.c_str());
}

TEST(FakeJvm, BasicsScenario) {
  ChildResult r = RunChild(L"Basics", {{L"OZ_JVM_PATH", L"C:\\rt\\bin\\server\\jvm.dll"}, {L"OZ_JVM_HOME", L""}});
  ASSERT_EQ(r.exitCode, 0u) << r.output;
  const FakeJvmLog& log = r.log;
  EXPECT_EQ(log.Values(L"version"), (std::vector<std::wstring>{L"0x00010002", L"0x00010002"}));
  EXPECT_EQ(log.Values(L"ignoreUnrecognized"), (std::vector<std::wstring>{L"0", L"0"}));
  std::vector<std::wstring> options = log.Values(L"option");
  ASSERT_EQ(options.size(), 13u);
  EXPECT_EQ(options[0], L"-Djava.class.path=C:\\app\\a.jar;C:\\app\\b.jar");
  EXPECT_EQ(options[8], L"");
  EXPECT_EQ(options[9], L"abort");
  EXPECT_EQ(options[10], L"exit");
  EXPECT_EQ(log.Values(L"create"), (std::vector<std::wstring>{L"0", L"-5"}));
  EXPECT_EQ(log.Env(L"OZ_JVM_PATH"), L"C:\\rt\\bin\\server\\jvm.dll");
  EXPECT_EQ(log.Env(L"OZ_JVM_HOME"), L"");
  EXPECT_FALSE(log.Env(L"Path").empty());
  EXPECT_EQ(log.Values(L"cwd").size(), 2u);
  std::vector<std::wstring> found = log.Values(L"findclass");
  EXPECT_NE(std::find(found.begin(), found.end(), L"test.NoMain"), found.end());
  EXPECT_NE(std::find(found.begin(), found.end(), L"com/example/Missing"), found.end());
  EXPECT_EQ(log.Values(L"main"), (std::vector<std::wstring>{L"test/PrintOut", L"test/PrintOut", L"test/PrintOut",
                                                           L"test/Throws", L"test/Exit", L"test/RecordArgs",
                                                           L"test/RecordArgs"}));
  EXPECT_EQ(log.Values(L"arg"), (std::vector<std::wstring>{L"a", L"\u00fc", L"b", L"c", L"x", L"one",
                                                          L"t\u00e9st \"q\"", L"", L"from other"}));
  EXPECT_EQ(log.Values(L"mainend").size(), 7u);
  std::vector<std::wstring> threads = log.Values(L"thread");
  ASSERT_EQ(threads.size(), 7u);
  EXPECT_EQ(threads[5], L"same");
  EXPECT_EQ(threads[6], L"other");
  for (const std::wstring& stack : log.Values(L"stack")) EXPECT_GT(std::stoull(stack), 64u * 1024u);
  EXPECT_EQ(log.Values(L"describe"), std::vector<std::wstring>{L"java.lang.IllegalStateException: boom"});
  EXPECT_EQ(log.Values(L"attach").size(), 1u);
  EXPECT_EQ(log.All(L"detach").size(), 2u);
  EXPECT_TRUE(log.Has(L"destroy"));
  EXPECT_FALSE(log.Has(L"fatal"));
  EXPECT_FALSE(log.Has(L"uncaught"));
}

TEST(FakeJvmChild, Rejects) {
  CHILD_ONLY(L"Rejects");
  HMODULE lib = LoadFake(L"plain\\jvm.dll");
  JavaVM* vm = nullptr;
  JNIEnv* env = nullptr;
  for (const char* bad : {"-Xbogus", "-Xmx512MB", "-Xss", "-D", "-D=x", "-client", "-XX:", "--add-opens=x",
                          "-verbosegc", "vfprintf", "Exit"}) {
    EXPECT_EQ(Create(lib, {"-Xmx512m", bad, "abort", "exit"}, &vm, &env), JNI_ERR) << bad;
    EXPECT_EQ(env, nullptr);
  }
  EXPECT_EQ(Create(lib, {"abort", "exit"}, &vm, &env, JNI_VERSION_1_1), JNI_EVERSION);
  EXPECT_EQ(Create(lib, {"abort", "exit"}, &vm, &env, 0x00020000), JNI_EVERSION);
  // A failed creation leaves the way open for a good one.
  EXPECT_EQ(Create(lib, {"-Dx", "-Xmx1g", "-verbose", "", "abort", "exit"}, &vm, &env, JNI_VERSION_1_8), JNI_OK);
  EXPECT_NE(env, nullptr);
}

TEST(FakeJvm, RejectsScenario) {
  ChildResult r = RunChild(L"Rejects");
  ASSERT_EQ(r.exitCode, 0u) << r.output;
  std::vector<std::wstring> results = r.log.Values(L"create");
  ASSERT_EQ(results.size(), 14u);
  for (size_t i = 0; i < 11; ++i) EXPECT_EQ(results[i], L"-1") << i;
  EXPECT_EQ(results[11], L"-3");
  EXPECT_EQ(results[12], L"-3");
  EXPECT_EQ(results[13], L"0");
  EXPECT_EQ(r.log.Values(L"version").back(), L"0x00010008");
}

TEST(FakeJvmChild, Forced) {
  CHILD_ONLY(L"Forced");
  HMODULE lib = LoadFake(L"plain\\jvm.dll");
  JavaVM* vm = nullptr;
  JNIEnv* env = nullptr;
  EXPECT_EQ(Create(lib, {"abort", "exit"}, &vm, &env), -77);
  EXPECT_EQ(vm, nullptr);
  EXPECT_EQ(env, nullptr);
}

TEST(FakeJvm, ForcedCreationResult) {
  ChildResult r = RunChild(L"Forced", {{L"JL_FAKEJVM_CREATE_RESULT", L"-77"}});
  ASSERT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_EQ(r.log.Values(L"create"), std::vector<std::wstring>{L"-77"});
  EXPECT_EQ(r.log.Values(L"option"), (std::vector<std::wstring>{L"abort", L"exit"}));
}

TEST(FakeJvmChild, Exit) {
  CHILD_ONLY(L"Exit");
  Vm v = CreateOrFail(L"plain");
  RunMain(v.env, "test/Exit", {L"7", L"ignored"});
  ADD_FAILURE() << "System.exit returned";
}

TEST(FakeJvm, SystemExitCallsTheHookAndEndsTheProcess) {
  ChildResult r = RunChild(L"Exit");
  EXPECT_EQ(r.exitCode, 7u) << r.output;
  EXPECT_EQ(r.log.Values(L"exit"), std::vector<std::wstring>{L"7"});
  EXPECT_NE(r.output.find("exit hook 7"), std::string::npos) << r.output;
  EXPECT_EQ(r.log.Values(L"arg"), (std::vector<std::wstring>{L"7", L"ignored"}));
}

TEST(FakeJvmChild, Helper) {
  CHILD_ONLY(L"Helper");
  HMODULE lib = LoadFake(L"helper\\jvm.dll");
  JavaVM* vm = nullptr;
  JNIEnv* env = nullptr;
  ASSERT_EQ(Create(lib, {"abort", "exit"}, &vm, &env), JNI_OK);
  auto boot = Entry<FindBootClassFn>(lib, "JVM_FindClassFromBootLoader");
  jclass helper = boot(env, "sun/launcher/LauncherHelper");
  ASSERT_NE(helper, nullptr);
  EXPECT_EQ(boot(env, "test/RecordArgs"), nullptr);  // not a boot class
  EXPECT_FALSE(env->ExceptionCheck());
  jmethodID check = env->GetStaticMethodID(helper, "checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;");
  ASSERT_NE(check, nullptr);
  jobject dotted = env->CallStaticObjectMethod(helper, check, JNI_TRUE, 1, JStr(env, L"test.RecordArgs"));
  EXPECT_TRUE(env->IsSameObject(dotted, env->FindClass("test/RecordArgs")));
  jobject slashed = env->CallStaticObjectMethod(helper, check, JNI_TRUE, 1, JStr(env, L"test/Throws"));
  EXPECT_TRUE(env->IsSameObject(slashed, env->FindClass("test/Throws")));
  EXPECT_EQ(env->CallStaticObjectMethod(helper, check, JNI_TRUE, 1, JStr(env, L"com.example.Missing")), nullptr);
  EXPECT_EQ(TakeException(env), L"java.lang.ClassNotFoundException: com.example.Missing");
}

TEST(FakeJvm, LauncherHelperVariant) {
  ChildResult r = RunChild(L"Helper");
  ASSERT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_EQ(r.log.Values(L"bootloader"), (std::vector<std::wstring>{L"sun/launcher/LauncherHelper", L"test/RecordArgs"}));
  EXPECT_EQ(r.log.Values(L"checkAndLoadMain"),
            (std::vector<std::wstring>{L"test.RecordArgs", L"test/Throws", L"com.example.Missing"}));
  EXPECT_NE(r.output.find("Error: Could not find or load main class com.example.Missing"), std::string::npos)
      << r.output;
}

TEST(FakeJvmChild, Linger) {
  CHILD_ONLY(L"Linger");
  Vm v = CreateOrFail(L"plain");
  RunMain(v.env, "test/SecondaryInt", {});
  JavaVM* vm = v.vm;
  std::thread worker([vm] {
    JNIEnv* env = nullptr;
    ASSERT_EQ(vm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr), JNI_OK);
    Sleep(300);
    jclass cls = env->FindClass("test/SecondaryInt");
    EXPECT_EQ(env->GetStaticMethodID(cls, "secondaryMain", "([Ljava/lang/String;)V"), nullptr);
    env->ExceptionClear();
    jmethodID secondary = env->GetStaticMethodID(cls, "secondaryMain", "([Ljava/lang/String;)I");
    ASSERT_NE(secondary, nullptr);
    EXPECT_EQ(env->CallStaticIntMethod(cls, secondary, Args(env, {L"a", L"b"})), 2);
    vm->DetachCurrentThread();
  });
  ASSERT_EQ(vm->DetachCurrentThread(), JNI_OK);
  ULONGLONG start = GetTickCount64();
  EXPECT_EQ(vm->DestroyJavaVM(), JNI_OK);  // waits for the attached worker
  ULONGLONG waited = GetTickCount64() - start;
  EXPECT_GE(waited, 200u);
  EXPECT_LT(waited, 10000u);
  worker.join();
}

TEST(FakeJvm, DestroyWaitsForAttachedThreads) {
  ChildResult r = RunChild(L"Linger", {{L"JL_FAKEJVM_LINGER_MS", L"20000"}});
  ASSERT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_EQ(r.log.Values(L"secondary"), std::vector<std::wstring>{L"int"});
  EXPECT_EQ(r.log.Values(L"arg"), (std::vector<std::wstring>{L"a", L"b"}));
}

TEST(FakeJvmChild, Uncaught) {
  CHILD_ONLY(L"Uncaught");
  Vm v = CreateOrFail(L"plain");
  RunMain(v.env, "test/Throws", {});
  EXPECT_EQ(v.vm->DetachCurrentThread(), JNI_OK);
}

TEST(FakeJvm, DetachPrintsAnExceptionLeftPending) {
  ChildResult r = RunChild(L"Uncaught");
  ASSERT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_NE(r.output.find("Exception in thread \"main\" java.lang.IllegalStateException: boom"), std::string::npos)
      << r.output;
  EXPECT_EQ(r.log.Values(L"uncaught"), std::vector<std::wstring>{L"java.lang.IllegalStateException: boom"});
  EXPECT_FALSE(r.log.Has(L"describe"));
}

TEST(FakeJvmChild, EndedAttached) {
  CHILD_ONLY(L"EndedAttached");
  Vm v = CreateOrFail(L"plain");
  JavaVM* vm = v.vm;
  std::thread([vm] {
    JNIEnv* env = nullptr;
    EXPECT_EQ(vm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr), JNI_OK);
  }).join();
  EXPECT_EQ(vm->DestroyJavaVM(), JNI_OK);
}

TEST(FakeJvm, DestroyDoesNotWaitForAThreadThatEndedAttached) {
  ChildResult r = RunChild(L"EndedAttached");
  ASSERT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_EQ(r.log.Values(L"endedattached"), std::vector<std::wstring>{L"Thread-0"});
}

TEST(FakeJvmChild, CdeclExitHook) {
  CHILD_ONLY(L"CdeclExitHook");
  g_exitHook = reinterpret_cast<void*>(&CdeclExitHook);
  Vm v = CreateOrFail(L"plain");
  RunMain(v.env, "test/Exit", {L"3"});
}

TEST(FakeJvm, ExitHookMustUseTheJniCallingConvention) {
  ChildResult r = RunChild(L"CdeclExitHook");
#if defined(__i386__)
  EXPECT_EQ(r.exitCode, kFatal) << r.output;
  EXPECT_EQ(r.log.Values(L"fatal"),
            std::vector<std::wstring>{L"the exit hook does not use the JNICALL (__stdcall) convention"});
#else
  EXPECT_EQ(r.exitCode, 3u) << r.output;  // one calling convention on x64
#endif
}

// Misuse that a real VM would crash on ends the process loudly.
TEST(FakeJvmChild, Unimplemented) {
  CHILD_ONLY(L"Unimplemented");
  Vm v = CreateOrFail(L"plain");
  v.env->MonitorEnter(v.env->FindClass("java/lang/String"));
}

TEST(FakeJvmChild, WrongReturnType) {
  CHILD_ONLY(L"WrongReturnType");
  Vm v = CreateOrFail(L"plain");
  jclass cls = v.env->FindClass("test/SecondaryInt");
  jmethodID m = v.env->GetStaticMethodID(cls, "secondaryMain", "([Ljava/lang/String;)I");
  v.env->CallStaticVoidMethod(cls, m, Args(v.env, {}));
}

TEST(FakeJvmChild, DeletedReference) {
  CHILD_ONLY(L"DeletedReference");
  Vm v = CreateOrFail(L"plain");
  jclass cls = v.env->FindClass("test/RecordArgs");
  v.env->DeleteLocalRef(cls);
  v.env->GetStaticMethodID(cls, "main", "([Ljava/lang/String;)V");
}

TEST(FakeJvmChild, ForeignEnv) {
  CHILD_ONLY(L"ForeignEnv");
  Vm v = CreateOrFail(L"plain");
  JNIEnv* env = v.env;
  std::thread([env] { env->FindClass("java/lang/String"); }).join();
}

TEST(FakeJvmChild, WrongArgument) {
  CHILD_ONLY(L"WrongArgument");
  Vm v = CreateOrFail(L"plain");
  jclass printClass = v.env->FindClass("java/io/PrintStream");
  v.env->NewObject(printClass, v.env->GetMethodID(printClass, "<init>", "(Ljava/io/OutputStream;)V"),
                   JStr(v.env, L"not a stream"));
}

TEST(FakeJvm, MisuseFailsLoudly) {
  const struct { const wchar_t* scenario; const wchar_t* message; } cases[] = {
      {L"Unimplemented", L"unimplemented JNI slot "},
      {L"WrongReturnType", L"CallStaticVoidMethodV used on test/SecondaryInt.secondaryMain([Ljava/lang/String;)I"},
      {L"DeletedReference", L"deleted reference used"},
      {L"ForeignEnv", L"JNIEnv used on a thread it does not belong to"},
      {L"WrongArgument", L"argument 1 of java/io/PrintStream.<init>(Ljava/io/OutputStream;)V has class java/lang/String"},
  };
  for (const auto& c : cases) {
    ChildResult r = RunChild(c.scenario);
    EXPECT_EQ(r.exitCode, kFatal) << r.output;
    std::vector<std::wstring> fatal = r.log.Values(L"fatal");
    ASSERT_EQ(fatal.size(), 1u);
    EXPECT_EQ(fatal[0].rfind(c.message, 0), 0u) << std::string(fatal[0].begin(), fatal[0].end());
    EXPECT_NE(r.output.find("fakejvm: "), std::string::npos);
  }
  ChildResult r = RunChild(L"Unimplemented");
  size_t slot = offsetof(JNINativeInterface_, MonitorEnter) / sizeof(void*);
  EXPECT_EQ(r.log.Values(L"fatal"), std::vector<std::wstring>{L"unimplemented JNI slot " + std::to_wstring(slot)});
}
