// The Java programs the stand-in runtime can run (package "test") and, in the
// helper variant, sun.launcher.LauncherHelper.checkAndLoadMain.
#include "ClassTable.h"
#include "Holds.h"
#include "JvmText.h"
#include "LogWriter.h"
#include "Modules.h"

namespace fakejvm {
namespace {

jvalue Void() {
  jvalue v;
  v.j = 0;
  return v;
}

std::wstring ClassOf(const CallFrame& f) { return FromUtf8(f.method.cls); }

void LogArgs(CallFrame& f) {
  Ref args = f.Obj(0);
  if (!args) {
    WriteRecord({L"nullargs"});
    return;
  }
  for (const Ref& a : args->elements) {
    if (a) {
      WriteRecord({L"arg", a->text});
    } else {
      WriteRecord({L"nullarg"});
    }
  }
}

unsigned long long ReservedStack() {
  using Limits = VOID(WINAPI*)(PULONG_PTR, PULONG_PTR);
  auto limits = reinterpret_cast<Limits>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetCurrentThreadStackLimits")));
  if (limits) {
    ULONG_PTR low = 0, high = 0;
    limits(&low, &high);
    return high - low;
  }
  // Older systems: the stack's reservation is the allocation around a local.
  MEMORY_BASIC_INFORMATION info;
  VirtualQuery(&info, &info, sizeof(info));
  auto base = reinterpret_cast<ULONG_PTR>(info.AllocationBase);
  ULONG_PTR top = reinterpret_cast<ULONG_PTR>(info.BaseAddress) + info.RegionSize;
  return top - base;
}

// Common start of every main: the records the tests read.
void StartMain(CallFrame& f) {
  WriteTime(L"main");
  Vm().mainClass = FromUtf8(Dotted(f.method.cls));
  WriteRecord({L"main", ClassOf(f)});
  LogArgs(f);
  WriteRecord({L"mainend"});
  WriteRecord({L"stack", std::to_wstring(ReservedStack())});
  WriteRecord({L"thread", f.ts.id == Vm().creatorThread ? L"same" : L"other"});
}

jvalue RecordArgsMain(CallFrame& f) {
  StartMain(f);
  return Void();
}

jvalue ThrowsMain(CallFrame& f) {
  StartMain(f);
  Throw("java/lang/IllegalStateException", L"boom");
  return Void();
}

jvalue ExitMain(CallFrame& f) {
  StartMain(f);
  Ref args = f.Obj(0);
  jint code = 0;
  if (args && !args->elements.empty()) {
    const MethodInfo* parseInt = FindMethod(FindClassInfo("java/lang/Integer"), "parseInt",
                                            "(Ljava/lang/String;)I", true);
    CallFrame call{f.ts, *parseInt, nullptr, {}};
    jvalue arg;
    arg.l = NewLocalRef(args->elements[0]);
    call.args.push_back(arg);
    Ref before = f.ts.pending;
    code = parseInt->impl(call).i;
    DeleteRef(arg.l, false);
    if (f.ts.pending != before) return Void();  // NumberFormatException escapes main
  }
  SystemExit(code);
}

jvalue PrintOutMain(CallFrame& f) {
  StartMain(f);
  Ref args = f.Obj(0);
  if (!args) return Void();
  for (const Ref& a : args->elements) {
    std::wstring text = a ? a->text : L"null";
    PrintText(Vm().out, L"out:" + text + kLineSeparator);
    PrintText(Vm().err, L"err:" + text + kLineSeparator);
  }
  return Void();
}

// Records the system properties as the program sees them when main starts.
jvalue PropertiesMain(CallFrame& f) {
  StartMain(f);
  for (const auto& property : Vm().properties) WriteRecord({L"property", property.first, property.second});
  return Void();
}

jvalue LingerMain(CallFrame& f) {
  StartMain(f);
  wchar_t value[32];
  DWORD n = GetEnvironmentVariableW(L"JL_FAKEJVM_LINGER_MS", value, 32);
  ULONGLONG linger = (n > 0 && n < 32) ? wcstoull(value, nullptr, 10) : 10000;
  Vm().keepAlive = true;
  Vm().keepAliveUntil = GetTickCount64() + linger;
  return Void();
}

DWORD WINAPI EndHoldThread(void*) {
  WaitForHold(L"JL_FAKEJVM_END_HOLD");
  std::lock_guard<std::recursive_mutex> guard(Vm().lock);
  Vm().keepAlive = false;
  return 0;
}

// Keeps main running until the test lets it go; afterwards the program
// stays alive (DestroyJavaVM waits) until the test lets that go too.
jvalue HoldMain(CallFrame& f) {
  StartMain(f);
  WaitForHold(L"JL_FAKEJVM_MAIN_HOLD");
  if (GetEnvironmentVariableW(L"JL_FAKEJVM_END_HOLD", nullptr, 0) > 0) {
    Vm().keepAlive = true;
    Vm().keepAliveUntil = GetTickCount64() + kHoldLimitMs;
    CloseHandle(CreateThread(nullptr, 0, EndHoldThread, nullptr, 0, nullptr));
  }
  return Void();
}

// An exception whose message is not plain ASCII escapes main.
jvalue HoldThrowsMain(CallFrame& f) {
  StartMain(f);
  WaitForHold(L"JL_FAKEJVM_MAIN_HOLD");
  Throw("java/lang/IllegalStateException", L"gagal: \u00fcber \u65e5\u672c \U0001F600");
  return Void();
}

jvalue SecondaryVoid(CallFrame& f) {
  WriteRecord({L"secondary", L"void"});
  LogArgs(f);
  Vm().keepAlive = false;
  return Void();
}

jvalue SecondaryInt(CallFrame& f) {
  WriteRecord({L"secondary", L"int"});
  LogArgs(f);
  Ref args = f.Obj(0);
  Vm().keepAlive = false;
  jvalue v = Void();
  v.i = args ? static_cast<jint>(args->elements.size()) : 0;
  return v;
}

jvalue SecondaryThrows(CallFrame& f) {
  WriteRecord({L"secondary", L"int"});
  LogArgs(f);
  Vm().keepAlive = false;
  Throw("java/lang/IllegalStateException", L"secondary failed");
  return Void();
}

// A program that serves forwarded starts until one of them says "quit":
// secondaryMain answers with its first argument as a number (0 when it is
// not one).
jvalue ServeSecondary(CallFrame& f) {
  WriteRecord({L"secondary", L"int"});
  LogArgs(f);
  Ref args = f.Obj(0);
  std::wstring first = args && !args->elements.empty() && args->elements[0] ? args->elements[0]->text : L"";
  if (first == L"quit") Vm().keepAlive = false;
  jvalue v = Void();
  v.i = static_cast<jint>(wcstol(first.c_str(), nullptr, 10));
  return v;
}

// A program that asks for a restart once: when it can make the file args[1]
// it ends with System.exit(args[0]); when the file is there already it serves
// forwarded starts as test.Serve does.
jvalue RestartOnceMain(CallFrame& f) {
  Ref args = f.Obj(0);
  if (args && args->elements.size() >= 2 && args->elements[0] && args->elements[1]) {
    HANDLE file = CreateFileW(args->elements[1]->text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      StartMain(f);
      SystemExit(static_cast<jint>(wcstol(args->elements[0]->text.c_str(), nullptr, 10)));
    }
  }
  return LingerMain(f);
}

struct ExitSignal {
  std::wstring file;
  jint code;
};

DWORD WINAPI WaitForExitSignal(void* parameter) {
  ExitSignal* signal = static_cast<ExitSignal*>(parameter);
  ULONGLONG deadline = GetTickCount64() + 120000;
  while (GetFileAttributesW(signal->file.c_str()) == INVALID_FILE_ATTRIBUTES && GetTickCount64() < deadline) {
    Sleep(20);
  }
  SystemExit(signal->code);
}

// Like a program whose own thread calls System.exit(args[0]) once the file
// args[1] exists (two minutes at most). Until then the VM waits for that
// thread, as for any non-daemon thread.
jvalue ExitOnSignalMain(CallFrame& f) {
  StartMain(f);
  Ref args = f.Obj(0);
  if (!args || args->elements.size() < 2 || !args->elements[0] || !args->elements[1]) return Void();
  auto* signal = new ExitSignal{args->elements[1]->text, static_cast<jint>(wcstol(args->elements[0]->text.c_str(),
                                                                                  nullptr, 10))};
  Vm().keepAlive = true;
  Vm().keepAliveUntil = GetTickCount64() + 120000;
  HANDLE thread = CreateThread(nullptr, 0, WaitForExitSignal, signal, 0, nullptr);
  if (!thread) FailLoudly(L"cannot start the thread of test.ExitOnSignal");
  CloseHandle(thread);
  return Void();
}

#ifdef JL_FAKEJVM_HELPER
// Like the runtime's own helper: resolves the class by name (mode 1) or in a
// module (mode 3) and checks that it has a main method. When either fails it
// reports on the standard error stream (or output) and ends the program with
// System.exit(1), as the runtime's launcher helper does; nothing comes back
// to the caller.
jvalue CheckAndLoadMain(CallFrame& f) {
  Ref name = f.Obj(2);
  std::wstring text = name ? name->text : std::wstring();
  jint mode = f.args[1].i;
  WriteRecord({L"checkAndLoadMain", text, std::to_wstring(mode)});
  const Ref& stream = f.args[0].z ? Vm().err : Vm().out;
  if (mode != 1 && mode != 3) {
    Throw("java/lang/InternalError", std::to_wstring(mode) + L": Unknown launch mode");
    return Void();
  }
  const ClassInfo* cls = mode == 3 ? ModuleMainClass(text, stream) : FindClassInfo(Slashed(ToUtf8(text)));
  if (mode == 3 && !cls) return Void();  // InternalError pending
  if (mode == 3) text = DottedName(cls);
  std::wstring dotted = Widen(Dotted(ToUtf8(text)).c_str());
  if (!cls) {
    PrintText(stream, L"Error: Could not find or load main class " + dotted + kLineSeparator +
                          L"Caused by: java.lang.ClassNotFoundException: " + dotted + kLineSeparator);
    SystemExit(1);
  }
  if (!FindMethod(cls, "main", "([Ljava/lang/String;)V", true)) {
    PrintText(stream, L"Error: Main method not found in class " + dotted +
                          L", please define the main method as:" + kLineSeparator +
                          L"   public static void main(String[] args)" + kLineSeparator +
                          L"or a JavaFX application class must extend javafx.application.Application" +
                          kLineSeparator);
    SystemExit(1);
  }
  jvalue v = Void();
  v.l = NewLocalRef(ClassObject(cls));
  return v;
}
#endif

const MethodInfo kMethods[] = {
    {"test/RecordArgs", "main", "([Ljava/lang/String;)V", true, RecordArgsMain},
    {"test/Throws", "main", "([Ljava/lang/String;)V", true, ThrowsMain},
    {"test/Exit", "main", "([Ljava/lang/String;)V", true, ExitMain},
    {"test/Hold", "main", "([Ljava/lang/String;)V", true, HoldMain},
    {"test/HoldThrows", "main", "([Ljava/lang/String;)V", true, HoldThrowsMain},
    {"test/PrintOut", "main", "([Ljava/lang/String;)V", true, PrintOutMain},
    {"test/SecondaryVoid", "main", "([Ljava/lang/String;)V", true, LingerMain},
    {"test/SecondaryVoid", "secondaryMain", "([Ljava/lang/String;)V", true, SecondaryVoid},
    {"test/SecondaryInt", "main", "([Ljava/lang/String;)V", true, LingerMain},
    {"test/SecondaryInt", "secondaryMain", "([Ljava/lang/String;)I", true, SecondaryInt},
    {"test/SecondaryThrows", "main", "([Ljava/lang/String;)V", true, LingerMain},
    {"test/SecondaryThrows", "secondaryMain", "([Ljava/lang/String;)I", true, SecondaryThrows},
    {"test/Serve", "main", "([Ljava/lang/String;)V", true, LingerMain},
    {"test/Serve", "secondaryMain", "([Ljava/lang/String;)I", true, ServeSecondary},
    {"test/ExitOnSignal", "main", "([Ljava/lang/String;)V", true, ExitOnSignalMain},
    {"test/RestartOnce", "main", "([Ljava/lang/String;)V", true, RestartOnceMain},
    {"test/RestartOnce", "secondaryMain", "([Ljava/lang/String;)I", true, ServeSecondary},
    {"test/Properties", "main", "([Ljava/lang/String;)V", true, PropertiesMain},
    // A class named outside the ANSI code page, also served for later starts.
    {"test/\u041f\u0440\u0438\u043b\u043e\u0436\u0435\u043d\u0438\u0435", "main", "([Ljava/lang/String;)V", true,
     LingerMain},
    {"test/\u041f\u0440\u0438\u043b\u043e\u0436\u0435\u043d\u0438\u0435", "secondaryMain",
     "([Ljava/lang/String;)I", true, SecondaryInt},
#ifdef JL_FAKEJVM_HELPER
    {"sun/launcher/LauncherHelper", "checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;", true,
     CheckAndLoadMain},
#endif
};

}  // namespace

MethodTable ProgramMethods() { return {kMethods, kMethods + sizeof(kMethods) / sizeof(kMethods[0])}; }

}  // namespace fakejvm
