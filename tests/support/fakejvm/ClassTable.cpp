#include "ClassTable.h"

#include <cstring>
#include <map>

#include "JvmText.h"
#include "LogWriter.h"

namespace fakejvm {
namespace {

const ClassInfo kClasses[] = {
    {"java/lang/Object", nullptr, Kind::Plain},
    {"java/lang/Class", "java/lang/Object", Kind::Class},
    {"java/lang/String", "java/lang/Object", Kind::String},
    {"java/lang/System", "java/lang/Object", Kind::Plain},
    {"java/lang/Integer", "java/lang/Object", Kind::Plain},
    {"java/lang/ClassLoader", "java/lang/Object", Kind::Plain},
    {"java/io/OutputStream", "java/lang/Object", Kind::Plain},
    {"java/io/FileOutputStream", "java/io/OutputStream", Kind::FileStream},
    {"java/io/FilterOutputStream", "java/io/OutputStream", Kind::Plain},
    {"java/io/PrintStream", "java/io/FilterOutputStream", Kind::PrintStream},
    {"java/io/ByteArrayOutputStream", "java/io/OutputStream", Kind::ByteStream},
    {"[Ljava/lang/Object;", "java/lang/Object", Kind::ObjectArray},
    {"[C", "java/lang/Object", Kind::CharArray},
    {"java/lang/Throwable", "java/lang/Object", Kind::Throwable},
    {"java/lang/Exception", "java/lang/Throwable", Kind::Throwable},
    {"java/lang/RuntimeException", "java/lang/Exception", Kind::Throwable},
    {"java/lang/IllegalStateException", "java/lang/RuntimeException", Kind::Throwable},
    {"java/lang/IllegalArgumentException", "java/lang/RuntimeException", Kind::Throwable},
    {"java/lang/NumberFormatException", "java/lang/IllegalArgumentException", Kind::Throwable},
    {"java/lang/NullPointerException", "java/lang/RuntimeException", Kind::Throwable},
    {"java/lang/IndexOutOfBoundsException", "java/lang/RuntimeException", Kind::Throwable},
    {"java/lang/ArrayIndexOutOfBoundsException", "java/lang/IndexOutOfBoundsException", Kind::Throwable},
    {"java/lang/StringIndexOutOfBoundsException", "java/lang/IndexOutOfBoundsException", Kind::Throwable},
    {"java/lang/NegativeArraySizeException", "java/lang/RuntimeException", Kind::Throwable},
    {"java/lang/ArrayStoreException", "java/lang/RuntimeException", Kind::Throwable},
    {"java/lang/ReflectiveOperationException", "java/lang/Exception", Kind::Throwable},
    {"java/lang/ClassNotFoundException", "java/lang/ReflectiveOperationException", Kind::Throwable},
    {"java/io/IOException", "java/lang/Exception", Kind::Throwable},
    {"java/io/FileNotFoundException", "java/io/IOException", Kind::Throwable},
    {"java/lang/Error", "java/lang/Throwable", Kind::Throwable},
    {"java/lang/LinkageError", "java/lang/Error", Kind::Throwable},
    {"java/lang/NoClassDefFoundError", "java/lang/LinkageError", Kind::Throwable},
    {"java/lang/IncompatibleClassChangeError", "java/lang/LinkageError", Kind::Throwable},
    {"java/lang/NoSuchMethodError", "java/lang/IncompatibleClassChangeError", Kind::Throwable},
    {"java/lang/VirtualMachineError", "java/lang/Error", Kind::Throwable},
    {"java/lang/OutOfMemoryError", "java/lang/VirtualMachineError", Kind::Throwable},
    {"java/lang/InternalError", "java/lang/VirtualMachineError", Kind::Throwable},
    {"test/RecordArgs", "java/lang/Object", Kind::Plain},
    {"test/NoMain", "java/lang/Object", Kind::Plain},
    {"test/Throws", "java/lang/Object", Kind::Plain},
    {"test/Exit", "java/lang/Object", Kind::Plain},
    {"test/Hold", "java/lang/Object", Kind::Plain},
    {"test/HoldThrows", "java/lang/Object", Kind::Plain},
    {"test/PrintOut", "java/lang/Object", Kind::Plain},
    {"test/SecondaryVoid", "java/lang/Object", Kind::Plain},
    {"test/SecondaryInt", "java/lang/Object", Kind::Plain},
    {"test/Serve", "java/lang/Object", Kind::Plain},
    {"test/SecondaryThrows", "java/lang/Object", Kind::Plain},
    {"test/ExitOnSignal", "java/lang/Object", Kind::Plain},
    {"test/RestartOnce", "java/lang/Object", Kind::Plain},
    {"test/Properties", "java/lang/Object", Kind::Plain},
    {"test/\u041f\u0440\u0438\u043b\u043e\u0436\u0435\u043d\u0438\u0435", "java/lang/Object", Kind::Plain},
#ifdef JL_FAKEJVM_HELPER
    {"sun/launcher/LauncherHelper", "java/lang/Object", Kind::Plain},
#endif
};

bool InTable(const MethodTable& t, const MethodInfo* m) { return m >= t.begin && m < t.end; }

const MethodInfo* Search(const MethodTable& t, const char* cls, const char* name, const char* sig,
                         bool isStatic) {
  for (const MethodInfo* m = t.begin; m != t.end; ++m) {
    if (m->isStatic == isStatic && strcmp(m->cls, cls) == 0 && strcmp(m->name, name) == 0 &&
        strcmp(m->sig, sig) == 0) {
      return m;
    }
  }
  return nullptr;
}

const MethodInfo* SearchBoth(const char* cls, const char* name, const char* sig, bool isStatic) {
  const MethodInfo* m = Search(LibraryMethods(), cls, name, sig, isStatic);
  return m ? m : Search(ProgramMethods(), cls, name, sig, isStatic);
}

}  // namespace

const ClassInfo* FindClassInfo(const std::string& name) {
  for (const ClassInfo& c : kClasses) {
    if (name == c.name) return &c;
  }
  return nullptr;
}

const ClassInfo* SuperOf(const ClassInfo* cls) {
  return cls && cls->super ? FindClassInfo(cls->super) : nullptr;
}

bool IsSubclass(const ClassInfo* cls, const char* ancestor) {
  for (; cls; cls = SuperOf(cls)) {
    if (strcmp(cls->name, ancestor) == 0) return true;
  }
  return false;
}

Ref ClassObject(const ClassInfo* cls) {
  static std::map<const ClassInfo*, Ref>* objects = new std::map<const ClassInfo*, Ref>();
  std::lock_guard<std::recursive_mutex> guard(Vm().lock);
  Ref& slot = (*objects)[cls];
  if (!slot) {
    slot = std::make_shared<Object>();
    slot->kind = Kind::Class;
    slot->cls = FindClassInfo("java/lang/Class");
    slot->described = cls;
  }
  return slot;
}

const MethodInfo* FindMethod(const ClassInfo* cls, const char* name, const char* sig, bool isStatic) {
  if (strcmp(name, "<init>") == 0) {
    if (isStatic) return nullptr;
    const MethodInfo* m = SearchBoth(cls->name, name, sig, false);
    if (!m && IsSubclass(cls, "java/lang/Throwable")) m = SearchBoth("java/lang/Throwable", name, sig, false);
    return m;
  }
  for (; cls; cls = SuperOf(cls)) {
    if (const MethodInfo* m = SearchBoth(cls->name, name, sig, isStatic)) return m;
  }
  return nullptr;
}

const MethodInfo* CheckMethodId(jmethodID id) {
  auto* m = reinterpret_cast<const MethodInfo*>(id);
  if (!m) FailLoudly(L"null jmethodID");
  if (!InTable(LibraryMethods(), m) && !InTable(ProgramMethods(), m)) FailLoudly(L"invalid jmethodID");
  return m;
}

std::wstring DottedName(const ClassInfo* cls) { return Widen(Dotted(cls->name).c_str()); }

}  // namespace fakejvm
