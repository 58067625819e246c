// Built-in methods of the java.* classes the launcher uses: strings,
// System.exit / setOut / setErr, file and byte-array output streams, print
// streams and throwables.
#include <cerrno>
#include <cstdlib>

#include "ClassTable.h"
#include "JvmText.h"
#include "LogWriter.h"

namespace fakejvm {
namespace {

jvalue Void() {
  jvalue v;
  v.j = 0;
  return v;
}

jvalue Int(jint i) {
  jvalue v = Void();
  v.i = i;
  return v;
}

jvalue Obj(const Ref& object) {
  jvalue v = Void();
  v.l = NewLocalRef(object);
  return v;
}

// --- java.lang.String ---

jvalue StringFromChars(CallFrame& f) {
  Ref chars = f.Obj(0);
  if (!chars) {
    Throw("java/lang/NullPointerException");
    return Void();
  }
  f.self->text.assign(chars->chars.begin(), chars->chars.end());
  return Void();
}

jvalue StringEmpty(CallFrame&) { return Void(); }

// --- java.lang.System / java.lang.Integer ---

jvalue SystemExitMethod(CallFrame& f) { SystemExit(f.args[0].i); }

jvalue SetProperty(CallFrame& f) {
  Ref name = f.Obj(0);
  Ref value = f.Obj(1);
  if (!name || !value) {
    Throw("java/lang/NullPointerException");
    return Void();
  }
  WriteRecord({L"setproperty", name->text, value->text});
  auto& properties = Vm().properties;
  auto found = properties.find(name->text);
  Ref previous = found == properties.end() ? nullptr : NewJavaString(found->second);
  properties[name->text] = value->text;
  return Obj(previous);
}

jvalue GetProperty(CallFrame& f) {
  Ref name = f.Obj(0);
  if (!name) {
    Throw("java/lang/NullPointerException");
    return Void();
  }
  auto found = Vm().properties.find(name->text);
  return Obj(found == Vm().properties.end() ? nullptr : NewJavaString(found->second));
}

jvalue SetOut(CallFrame& f) {
  Vm().out = f.Obj(0);
  return Void();
}

jvalue SetErr(CallFrame& f) {
  Vm().err = f.Obj(0);
  return Void();
}

jvalue ParseInt(CallFrame& f) {
  Ref s = f.Obj(0);
  if (!s) {
    Throw("java/lang/NumberFormatException", L"Cannot parse null string: null");
    return Void();
  }
  std::string digits = ToUtf8(s->text);
  char* end = nullptr;
  errno = 0;
  long long value = digits.empty() || isspace(static_cast<unsigned char>(digits[0]))
                        ? 0 : strtoll(digits.c_str(), &end, 10);
  if (digits.empty() || !end || *end || errno || value < INT32_MIN || value > INT32_MAX) {
    Throw("java/lang/NumberFormatException", L"For input string: \"" + s->text + L"\"");
    return Void();
  }
  return Int(static_cast<jint>(value));
}

// --- java.lang.ClassLoader / java.lang.Class ---

jvalue SystemClassLoader(CallFrame&) {
  static Ref* loader = [] {  // one for the process, never freed
    Ref* made = new Ref(std::make_shared<Object>());
    (*made)->cls = FindClassInfo("java/lang/ClassLoader");
    return made;
  }();
  return Obj(*loader);
}

// Class.forName(name, initialize, loader): dotted names only, as in Java.
jvalue ForName(CallFrame& f) {
  Ref name = f.Obj(0);
  if (!name) {
    Throw("java/lang/NullPointerException");
    return Void();
  }
  WriteRecord({L"forname", name->text, f.args[1].z ? L"init" : L"noinit"});
  std::string utf = ToUtf8(name->text);
  const ClassInfo* cls = utf.find('/') == std::string::npos ? FindClassInfo(Slashed(utf)) : nullptr;
  if (!cls) {
    Throw("java/lang/ClassNotFoundException", name->text);
    return Void();
  }
  return Obj(ClassObject(cls));
}

// --- java.io.FileOutputStream ---

// Paths as java.io sees them: relative to the current directory, long ones
// through the \\?\ prefix so that the 260-character limit does not apply.
std::wstring Win32Path(const std::wstring& path) {
  if (path.size() < 248 || path.compare(0, 2, L"\\\\") == 0) return path;
  DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(path.c_str(), n, &full[0], nullptr);
  full.resize(n);
  if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::wstring SystemMessage(DWORD error) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n ? std::wstring(buffer, n) : L"error " + std::to_wstring(error);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.')) {
    text.pop_back();
  }
  return text;
}

void OpenFile(CallFrame& f, bool append) {
  Ref path = f.Obj(0);
  if (!path) {
    Throw("java/lang/NullPointerException");
    return;
  }
  HANDLE h = CreateFileW(Win32Path(path->text).c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    Throw("java/io/FileNotFoundException", path->text + L" (" + SystemMessage(error) + L")");
    return;
  }
  f.self->file = h;
}

jvalue FileStreamAppend(CallFrame& f) {
  OpenFile(f, f.args[1].z != JNI_FALSE);
  return Void();
}

jvalue FileStreamTruncate(CallFrame& f) {
  OpenFile(f, false);
  return Void();
}

jvalue CloseStream(CallFrame& f) {
  // Closing a print stream closes what it writes to, as in java.io.
  for (Object* s = f.self.get(); s; s = s->target.get()) {
    s->closed = true;
    if (s->file != INVALID_HANDLE_VALUE) {
      CloseHandle(s->file);
      s->file = INVALID_HANDLE_VALUE;
    }
  }
  return Void();
}

jvalue Flush(CallFrame&) { return Void(); }  // nothing is buffered

// --- java.io.PrintStream ---

jvalue PrintStreamInit(CallFrame& f) {
  Ref target = f.Obj(0);
  if (!target) {
    Throw("java/lang/NullPointerException");
    return Void();
  }
  f.self->target = target;
  return Void();
}

std::wstring StringArg(CallFrame& f) {
  Ref s = f.Obj(0);
  return s ? s->text : L"null";
}

jvalue Println(CallFrame& f) {
  PrintText(f.self, StringArg(f) + kLineSeparator);
  return Void();
}

jvalue PrintlnEmpty(CallFrame& f) {
  PrintText(f.self, kLineSeparator);
  return Void();
}

jvalue Print(CallFrame& f) {
  PrintText(f.self, StringArg(f));
  return Void();
}

// --- java.io.ByteArrayOutputStream ---

jvalue ByteStreamInit(CallFrame&) { return Void(); }

jvalue ByteStreamToString(CallFrame& f) { return Obj(NewJavaString(FromUtf8(f.self->bytes))); }

jvalue ByteStreamSize(CallFrame& f) { return Int(static_cast<jint>(f.self->bytes.size())); }

// --- java.lang.Throwable ---

jvalue ThrowableInit(CallFrame& f) {
  f.self->hasMessage = false;
  return Void();
}

jvalue ThrowableInitMessage(CallFrame& f) {
  Ref message = f.Obj(0);
  f.self->hasMessage = message != nullptr;
  f.self->text = message ? message->text : std::wstring();
  return Void();
}

jvalue PrintStackTraceTo(CallFrame& f) {
  Ref stream = f.Obj(0);
  if (!stream) {
    Throw("java/lang/NullPointerException");
    return Void();
  }
  PrintText(stream, StackTraceText(*f.self));
  return Void();
}

jvalue PrintStackTrace(CallFrame& f) {
  PrintText(Vm().err, StackTraceText(*f.self));
  return Void();
}

jvalue GetMessage(CallFrame& f) { return Obj(f.self->hasMessage ? NewJavaString(f.self->text) : nullptr); }

jvalue ThrowableToString(CallFrame& f) { return Obj(NewJavaString(ThrowableText(*f.self))); }

const MethodInfo kMethods[] = {
    {"java/lang/String", "<init>", "([C)V", false, StringFromChars},
    {"java/lang/String", "<init>", "()V", false, StringEmpty},
    {"java/lang/System", "exit", "(I)V", true, SystemExitMethod},
    {"java/lang/System", "setProperty", "(Ljava/lang/String;Ljava/lang/String;)Ljava/lang/String;", true,
     SetProperty},
    {"java/lang/System", "getProperty", "(Ljava/lang/String;)Ljava/lang/String;", true, GetProperty},
    {"java/lang/System", "setOut", "(Ljava/io/PrintStream;)V", true, SetOut},
    {"java/lang/System", "setErr", "(Ljava/io/PrintStream;)V", true, SetErr},
    {"java/lang/Integer", "parseInt", "(Ljava/lang/String;)I", true, ParseInt},
    {"java/lang/ClassLoader", "getSystemClassLoader", "()Ljava/lang/ClassLoader;", true, SystemClassLoader},
    {"java/lang/Class", "forName", "(Ljava/lang/String;ZLjava/lang/ClassLoader;)Ljava/lang/Class;", true, ForName},
    {"java/io/FileOutputStream", "<init>", "(Ljava/lang/String;Z)V", false, FileStreamAppend},
    {"java/io/FileOutputStream", "<init>", "(Ljava/lang/String;)V", false, FileStreamTruncate},
    {"java/io/OutputStream", "close", "()V", false, CloseStream},
    {"java/io/OutputStream", "flush", "()V", false, Flush},
    {"java/io/PrintStream", "<init>", "(Ljava/io/OutputStream;)V", false, PrintStreamInit},
    {"java/io/PrintStream", "<init>", "(Ljava/io/OutputStream;Z)V", false, PrintStreamInit},
    {"java/io/PrintStream", "println", "(Ljava/lang/String;)V", false, Println},
    {"java/io/PrintStream", "println", "()V", false, PrintlnEmpty},
    {"java/io/PrintStream", "print", "(Ljava/lang/String;)V", false, Print},
    {"java/io/ByteArrayOutputStream", "<init>", "()V", false, ByteStreamInit},
    {"java/io/ByteArrayOutputStream", "toString", "()Ljava/lang/String;", false, ByteStreamToString},
    {"java/io/ByteArrayOutputStream", "size", "()I", false, ByteStreamSize},
    {"java/lang/Throwable", "<init>", "()V", false, ThrowableInit},
    {"java/lang/Throwable", "<init>", "(Ljava/lang/String;)V", false, ThrowableInitMessage},
    {"java/lang/Throwable", "printStackTrace", "(Ljava/io/PrintStream;)V", false, PrintStackTraceTo},
    {"java/lang/Throwable", "printStackTrace", "()V", false, PrintStackTrace},
    {"java/lang/Throwable", "getMessage", "()Ljava/lang/String;", false, GetMessage},
    {"java/lang/Throwable", "toString", "()Ljava/lang/String;", false, ThrowableToString},
};

}  // namespace

MethodTable LibraryMethods() { return {kMethods, kMethods + sizeof(kMethods) / sizeof(kMethods[0])}; }

}  // namespace fakejvm
