#include "Vm.h"

#include <vector>

#include "ClassTable.h"
#include "JvmText.h"
#include "LogWriter.h"

namespace fakejvm {
namespace {

thread_local ThreadState* t_state = nullptr;
std::vector<ThreadState*> g_threads;  // guarded by Vm().lock; never freed

}  // namespace

VmState& Vm() {
  static VmState* vm = new VmState();  // never destroyed: threads may outlive statics
  return *vm;
}

ThreadState& CurrentThread() {
  if (!t_state) {
    t_state = new ThreadState();
    t_state->env.functions = JniFunctions();
    t_state->id = GetCurrentThreadId();
    t_state->thread = OpenThread(SYNCHRONIZE, FALSE, t_state->id);
    std::lock_guard<std::recursive_mutex> guard(Vm().lock);
    g_threads.push_back(t_state);
  }
  return *t_state;
}

ThreadState& Enter(JNIEnv* env) {
  ThreadState& ts = CurrentThread();
  if (env != &ts.env) FailLoudly(L"JNIEnv used on a thread it does not belong to");
  if (!ts.attached) FailLoudly(L"JNI call on a thread that is not attached to the VM");
  if (Vm().destroyed) FailLoudly(L"JNI call after DestroyJavaVM");
  return ts;
}

void Attach(ThreadState& ts, bool daemon, const std::wstring& name) {
  ts.attached = true;
  ts.daemon = daemon;
  ts.name = name;
}

int OtherLiveThreads() {
  std::lock_guard<std::recursive_mutex> guard(Vm().lock);
  int count = 0;
  DWORD self = GetCurrentThreadId();
  for (ThreadState* ts : g_threads) {
    if (!ts->attached || ts->daemon || ts->id == self) continue;
    // A thread that ended without DetachCurrentThread would keep a real VM
    // waiting for ever; here it is recorded and not waited for.
    if (ts->thread && WaitForSingleObject(ts->thread, 0) == WAIT_OBJECT_0) {
      if (!ts->reportedEnded) WriteRecord({L"endedattached", ts->name});
      ts->reportedEnded = true;
      continue;
    }
    ++count;
  }
  return count;
}

Ref NewThrowable(const char* className, const std::wstring& message, bool hasMessage) {
  const ClassInfo* cls = FindClassInfo(className);
  if (!cls || !IsSubclass(cls, "java/lang/Throwable")) {
    FailLoudly(L"not a throwable class: " + Widen(className));
  }
  Ref t = std::make_shared<Object>();
  t->kind = Kind::Throwable;
  t->cls = cls;
  t->text = message;
  t->hasMessage = hasMessage;
  ThreadState& ts = CurrentThread();
  if (!ts.running.empty()) {
    t->origin = ts.running;
  } else if (!Vm().mainClass.empty()) {
    t->origin = Vm().mainClass + L".main";
  } else {
    t->origin = L"java.lang.Thread.run";
  }
  return t;
}

void Throw(const char* className, const std::wstring& message) {
  CurrentThread().pending = NewThrowable(className, message, true);
}

void Throw(const char* className) {
  CurrentThread().pending = NewThrowable(className, std::wstring(), false);
}

std::wstring ThrowableText(const Object& throwable) {
  std::wstring text = Widen(Dotted(throwable.cls->name).c_str());
  if (throwable.hasMessage) text += L": " + throwable.text;
  return text;
}

std::wstring StackTraceText(const Object& throwable) {
  return ThrowableText(throwable) + L"\n\tat " + throwable.origin + L"(Main.java)\n";
}

void PrintUncaught(const ThreadState& ts, const Object& throwable) {
  PrintText(Vm().err, L"Exception in thread \"" + ts.name + L"\" " + StackTraceText(throwable));
}

Ref NewStdStream(DWORD stdHandle) {
  Ref file = std::make_shared<Object>();
  file->kind = Kind::FileStream;
  file->cls = FindClassInfo("java/io/FileOutputStream");
  file->stdHandle = stdHandle;
  Ref print = std::make_shared<Object>();
  print->kind = Kind::PrintStream;
  print->cls = FindClassInfo("java/io/PrintStream");
  print->target = file;
  return print;
}

void WriteBytes(const Ref& stream, const std::string& bytes) {
  Object* s = stream.get();
  while (s && s->kind == Kind::PrintStream) {
    if (s->closed) return;
    s = s->target.get();
  }
  if (!s || s->closed) return;
  if (s->kind == Kind::ByteStream) {
    s->bytes += bytes;
  } else if (s->kind == Kind::FileStream) {
    HANDLE h = s->stdHandle ? GetStdHandle(s->stdHandle) : s->file;
    if (!h || h == INVALID_HANDLE_VALUE) return;  // no console: output is lost, as in a GUI process
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
}

// Print streams encode as UTF-8 (the runtime's default charset here).
void PrintText(const Ref& printStream, const std::wstring& text) {
  WriteBytes(printStream, ToUtf8(text));
}

namespace {

// Calls the exit hook. On x86 it must be __stdcall (JNICALL) and so remove
// its argument from the stack; a hook that does not is reported.
void CallExitHook(ExitHook hook, jint code) {
#if defined(__i386__)
  int moved;
  asm volatile(
      "movl %%esp, %%esi\n\t"
      "pushl %2\n\t"
      "call *%1\n\t"
      "movl %%esp, %0\n\t"
      "subl %%esi, %0\n\t"
      "movl %%esi, %%esp\n\t"
      : "=r"(moved)
      : "r"(hook), "r"(code)
      : "esi", "eax", "ecx", "edx", "memory", "cc");
  if (moved != 0) FailLoudly(L"the exit hook does not use the JNICALL (__stdcall) convention");
#else
  hook(code);
#endif
}

struct ExitCall {
  ExitHook hook;
  jint code;
};

DWORD WINAPI RunExitHook(void* parameter) {
  const ExitCall* call = static_cast<const ExitCall*>(parameter);
  CallExitHook(call->hook, call->code);
  return 0;
}

}  // namespace

void SystemExit(jint code) {
  WriteRecord({L"exit", std::to_wstring(code)});
  // A real VM stops its Java threads and calls the hook on a thread of its
  // own, which is attached to nothing: the hook cannot use JNI. The thread
  // that asked to exit waits meanwhile, holding the VM.
  if (Vm().exitHook) {
    ExitCall call = {Vm().exitHook, code};
    HANDLE thread = CreateThread(nullptr, 0, RunExitHook, &call, 0, nullptr);
    if (!thread) FailLoudly(L"cannot start the thread for the exit hook");
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
  ExitProcess(static_cast<UINT>(code));
}

namespace {

BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event == CTRL_BREAK_EVENT) {
    WriteRecord({L"signal", L"BREAK"});
    PrintText(Vm().out, L"Full thread dump (stand-in)" + std::wstring(kLineSeparator));
    return TRUE;
  }
  WriteRecord({L"signal", event == CTRL_C_EVENT ? L"INT" : L"TERM"});
  SystemExit(event == CTRL_C_EVENT ? 130 : 143);
}

}  // namespace

void InstallConsoleHandler() {
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

Ref NewJavaString(const std::wstring& text) {
  Ref s = std::make_shared<Object>();
  s->kind = Kind::String;
  s->cls = FindClassInfo("java/lang/String");
  s->text = text;
  return s;
}

}  // namespace fakejvm
