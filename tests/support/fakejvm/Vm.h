// The one virtual machine of the process: its threads, their pending
// exceptions, System.out / System.err and the exit path.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "Heap.h"

namespace fakejvm {

struct ThreadState {
  JNIEnv_ env;                 // this thread's JNIEnv; handed out only to it
  DWORD id = 0;
  HANDLE thread = nullptr;     // to notice a thread that ended while attached
  bool reportedEnded = false;
  bool attached = false;
  bool daemon = false;
  std::wstring name;           // "main" for the creating thread
  Ref pending;                 // pending exception
  std::wstring running;        // "pkg.Class.method" of the built-in method running, if any
};

using ExitHook = void(JNICALL*)(jint);
using AbortHook = void(JNICALL*)();

struct VmState {
  std::recursive_mutex lock;   // held by every JNI function while it works
  bool created = false;
  bool destroyed = false;
  DWORD creatorThread = 0;
  ExitHook exitHook = nullptr;
  AbortHook abortHook = nullptr;
  Ref out;                     // System.out
  Ref err;                     // System.err
  std::wstring mainClass;      // dotted name of the last class whose main started
  // System properties: the -D options (read in the ANSI code page, as a real
  // runtime reads them), then whatever System.setProperty sets.
  std::map<std::wstring, std::wstring> properties;
  // A program that keeps running after main returns (as one with a window
  // would) until secondaryMain has been called or the deadline has passed;
  // DestroyJavaVM waits for it like for a non-daemon thread.
  bool keepAlive = false;
  ULONGLONG keepAliveUntil = 0;
};

VmState& Vm();
const JNINativeInterface_* JniFunctions();     // JniEnv.cpp
JavaVM* TheJavaVM();                           // Invocation.cpp

ThreadState& CurrentThread();
// Checks that env belongs to the calling thread and that the thread is
// attached to a live VM; fails loudly otherwise.
ThreadState& Enter(JNIEnv* env);
void Attach(ThreadState& ts, bool daemon, const std::wstring& name);
// Number of attached non-daemon threads other than the caller.
int OtherLiveThreads();

// Exceptions.
Ref NewThrowable(const char* className, const std::wstring& message, bool hasMessage = true);
void Throw(const char* className, const std::wstring& message);
void Throw(const char* className);  // null message
std::wstring ThrowableText(const Object& throwable);     // "java.lang.X: message"
std::wstring StackTraceText(const Object& throwable);    // as printStackTrace prints it
// Prints "Exception in thread "<name>" " and the trace on System.err.
void PrintUncaught(const ThreadState& ts, const Object& throwable);

// Streams.
Ref NewStdStream(DWORD stdHandle);
void WriteBytes(const Ref& stream, const std::string& bytes);
void PrintText(const Ref& printStream, const std::wstring& text);
constexpr const wchar_t* kLineSeparator = L"\r\n";

// System.exit: records it, calls the exit hook, ends the process.
[[noreturn]] void SystemExit(jint code);
// The runtime's console event handler, as a real VM installs it: Ctrl+C and
// closing the console run the shutdown (exit code 130 or 143), Ctrl+Break
// prints a thread dump on System.out and the program goes on.
void InstallConsoleHandler();

// Strings.
Ref NewJavaString(const std::wstring& text);

}  // namespace fakejvm
