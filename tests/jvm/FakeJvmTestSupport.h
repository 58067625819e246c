// Helpers of the stand-in runtime's tests: locating and loading its
// libraries, and running a scenario that needs a fresh VM in a child process
// (a process can create only one VM): this program started again with
// JL_FAKEJVM_SCENARIO set and only FakeJvmChild.<scenario> selected. The
// child asserts what it sees through JNI; the parent checks the child's exit
// code, its output and the log.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "jni.h"
#include "support/common/TestFiles.h"
#include "support/fakejvm/FakeJvmLog.h"

namespace {

using CreateJavaVMFn = jint(JNICALL*)(JavaVM**, void**, void*);
using GetDefaultArgsFn = jint(JNICALL*)(void*);
using FindBootClassFn = jclass(JNICALL*)(JNIEnv*, const char*);
using Env = std::vector<std::pair<std::wstring, std::wstring>>;

constexpr DWORD kFatal = 0x4A4E49;

// JL_BUILD_DIR (a Unix path under Wine); without it, two folders above this
// program (<build>\tests\jvm\fakejvm_tests.exe).
std::wstring BuildDir() {
  std::wstring dir = EnvironmentVariable(L"JL_BUILD_DIR");
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

// Sets environment variables (an empty value removes one) for the lifetime
// of the object; they are restored in reverse order, so a name given twice
// gets its first earlier value back.
class ScopedEnv {
 public:
  explicit ScopedEnv(const Env& vars) {
    for (const auto& v : vars)
      scopes_.emplace_back(new ScopedVariable(v.first.c_str(), v.second.empty() ? nullptr : v.second.c_str()));
  }
  ~ScopedEnv() {
    while (!scopes_.empty()) scopes_.pop_back();
  }

 private:
  std::vector<std::unique_ptr<ScopedVariable>> scopes_;
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

bool IsChild(const wchar_t* scenario) { return EnvironmentVariable(L"JL_FAKEJVM_SCENARIO") == scenario; }

#define CHILD_ONLY(name)                                   \
  if (!IsChild(name)) GTEST_SKIP() << "runs in a child process"

void JNICALL ExitHook(jint code) {
  std::wstring path = EnvironmentVariable(L"JL_FAKEJVM_TEST_OUT");
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
