// The JNIEnv function table. Every slot the launcher may use is implemented;
// every other slot ends the process loudly with "unimplemented JNI slot N".
#include <cstdarg>
#include <cstring>
#include <mutex>
#include <set>
#include <utility>

#include "ClassTable.h"
#include "JvmText.h"
#include "LogWriter.h"

namespace fakejvm {
namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

// --- checks ---

Ref Need(jobject handle, const wchar_t* what) {
  Ref object = Deref(handle);
  if (!object) FailLoudly(std::wstring(what) + L": null object");
  return object;
}

Ref NeedKind(jobject handle, Kind kind, const wchar_t* what) {
  Ref object = Need(handle, what);
  if (object->kind != kind) FailLoudly(std::wstring(what) + L": object of the wrong kind");
  return object;
}

const ClassInfo* NeedClass(jclass handle, const wchar_t* what) {
  return NeedKind(handle, Kind::Class, what)->described;
}

// --- issued buffers (GetStringChars and friends) ---

std::mutex g_bufferLock;
std::set<const void*> g_buffers;

template <typename T>
T* Issue(size_t count) {
  T* buffer = new T[count + 1]();
  std::lock_guard<std::mutex> guard(g_bufferLock);
  g_buffers.insert(buffer);
  return buffer;
}

template <typename T>
void Reclaim(const T* buffer, const wchar_t* what) {
  if (!buffer) return;
  {
    std::lock_guard<std::mutex> guard(g_bufferLock);
    if (g_buffers.erase(buffer) == 0) FailLoudly(std::wstring(what) + L": buffer not issued by this VM");
  }
  delete[] buffer;
}

// --- method invocation ---

// Parameter descriptors of a method signature, e.g. "([Ljava/lang/String;I)V"
// gives "[Ljava/lang/String;" and "I".
std::vector<std::string> Params(const char* sig) {
  std::vector<std::string> params;
  const char* p = sig + 1;
  while (*p && *p != ')') {
    const char* start = p;
    while (*p == '[') ++p;
    if (*p == 'L') p = strchr(p, ';');
    ++p;
    params.emplace_back(start, p);
  }
  return params;
}

char ReturnType(const char* sig) {
  char r = strchr(sig, ')')[1];
  return r == '[' ? 'L' : r;
}

void CheckArgument(const MethodInfo& m, size_t index, const std::string& desc, jobject handle) {
  Ref object = Deref(handle);
  if (!object || desc[0] == 'I' || desc[0] == 'Z') return;
  bool ok;
  if (desc == "[C") {
    ok = object->kind == Kind::CharArray;
  } else if (desc.compare(0, 2, "[L") == 0) {
    ok = object->kind == Kind::ObjectArray &&
         IsSubclass(object->described, desc.substr(2, desc.size() - 3).c_str());
  } else if (desc[0] == 'L') {
    ok = IsSubclass(object->cls, desc.substr(1, desc.size() - 2).c_str());
  } else {
    ok = false;
  }
  if (!ok) {
    FailLoudly(L"argument " + std::to_wstring(index + 1) + L" of " + Widen(m.cls) + L"." + Widen(m.name) +
               Widen(m.sig) + L" has class " + Widen(object->cls->name));
  }
}

std::vector<jvalue> ReadArgs(const MethodInfo& m, va_list ap) {
  std::vector<jvalue> args;
  for (const std::string& desc : Params(m.sig)) {
    jvalue v;
    v.j = 0;
    switch (desc[0]) {
      case 'Z': v.z = static_cast<jboolean>(va_arg(ap, int)); break;
      case 'B': v.b = static_cast<jbyte>(va_arg(ap, int)); break;
      case 'C': v.c = static_cast<jchar>(va_arg(ap, int)); break;
      case 'S': v.s = static_cast<jshort>(va_arg(ap, int)); break;
      case 'I': v.i = va_arg(ap, jint); break;
      case 'J': v.j = va_arg(ap, jlong); break;
      case 'F': v.f = static_cast<jfloat>(va_arg(ap, double)); break;
      case 'D': v.d = va_arg(ap, double); break;
      default: v.l = va_arg(ap, jobject); break;
    }
    args.push_back(v);
  }
  return args;
}

std::vector<jvalue> CopyArgs(const MethodInfo& m, const jvalue* values) {
  size_t count = Params(m.sig).size();
  if (count && !values) FailLoudly(L"null argument array for " + Widen(m.name));
  return std::vector<jvalue>(values, values + count);
}

jvalue Run(ThreadState& ts, const MethodInfo& m, const Ref& self, std::vector<jvalue> args) {
  std::vector<std::string> params = Params(m.sig);
  for (size_t i = 0; i < params.size(); ++i) {
    if (params[i][0] == 'L' || params[i][0] == '[') CheckArgument(m, i, params[i], args[i].l);
  }
  CallFrame frame{ts, m, self, std::move(args)};
  std::wstring outer = ts.running;
  ts.running = Widen(Dotted(m.cls).c_str()) + L"." + Widen(m.name);
  jvalue result = m.impl(frame);
  ts.running = outer;
  return result;
}

// expected: the return type the Call function stands for ('L' for objects).
jvalue Invoke(ThreadState& ts, jobject target, jmethodID id, bool isStatic, char expected,
              std::vector<jvalue> (*read)(const MethodInfo&, const void*), const void* source,
              const wchar_t* function) {
  const MethodInfo& m = *CheckMethodId(id);
  if (m.isStatic != isStatic) FailLoudly(std::wstring(function) + L" on " + Widen(m.name) + L" of the wrong kind");
  if (strcmp(m.name, "<init>") == 0) FailLoudly(std::wstring(function) + L" on a constructor");
  if (ReturnType(m.sig) != expected) {
    FailLoudly(std::wstring(function) + L" used on " + Widen(m.cls) + L"." + Widen(m.name) + Widen(m.sig));
  }
  Ref object = Need(target, function);
  if (isStatic) {
    if (object->kind != Kind::Class || !IsSubclass(object->described, m.cls)) {
      FailLoudly(std::wstring(function) + L": class does not have " + Widen(m.name));
    }
    object.reset();
  } else if (!IsSubclass(object->cls, m.cls)) {
    FailLoudly(std::wstring(function) + L": object does not have " + Widen(m.name));
  }
  return Run(ts, m, object, read(m, source));
}

std::vector<jvalue> FromVaList(const MethodInfo& m, const void* source) {
  va_list ap;
  va_copy(ap, *static_cast<va_list*>(const_cast<void*>(source)));
  std::vector<jvalue> args = ReadArgs(m, ap);
  va_end(ap);
  return args;
}

std::vector<jvalue> FromArray(const MethodInfo& m, const void* source) {
  return CopyArgs(m, static_cast<const jvalue*>(source));
}

jvalue InvokeV(JNIEnv* env, jobject target, jmethodID id, va_list ap, bool isStatic, char expected,
               const wchar_t* function) {
  ThreadState& ts = Enter(env);
  Lock guard(Vm().lock);
  va_list copy;
  va_copy(copy, ap);
  jvalue r = Invoke(ts, target, id, isStatic, expected, FromVaList, &copy, function);
  va_end(copy);
  return r;
}

jvalue InvokeA(JNIEnv* env, jobject target, jmethodID id, const jvalue* args, bool isStatic, char expected,
               const wchar_t* function) {
  ThreadState& ts = Enter(env);
  Lock guard(Vm().lock);
  return Invoke(ts, target, id, isStatic, expected, FromArray, args, function);
}

#define JL_CALL_FUNCTIONS(Type, jtype, field, code)                                                     \
  jtype JNICALL Call##Type##Method(JNIEnv* env, jobject obj, jmethodID id, ...) {                       \
    va_list ap;                                                                                         \
    va_start(ap, id);                                                                                   \
    jvalue r = InvokeV(env, obj, id, ap, false, code, L"Call" #Type "Method");                          \
    va_end(ap);                                                                                         \
    return r.field;                                                                                     \
  }                                                                                                     \
  jtype JNICALL Call##Type##MethodV(JNIEnv* env, jobject obj, jmethodID id, va_list ap) {               \
    return InvokeV(env, obj, id, ap, false, code, L"Call" #Type "MethodV").field;                       \
  }                                                                                                     \
  jtype JNICALL Call##Type##MethodA(JNIEnv* env, jobject obj, jmethodID id, const jvalue* args) {       \
    return InvokeA(env, obj, id, args, false, code, L"Call" #Type "MethodA").field;                     \
  }                                                                                                     \
  jtype JNICALL CallStatic##Type##Method(JNIEnv* env, jclass cls, jmethodID id, ...) {                  \
    va_list ap;                                                                                         \
    va_start(ap, id);                                                                                   \
    jvalue r = InvokeV(env, cls, id, ap, true, code, L"CallStatic" #Type "Method");                     \
    va_end(ap);                                                                                         \
    return r.field;                                                                                     \
  }                                                                                                     \
  jtype JNICALL CallStatic##Type##MethodV(JNIEnv* env, jclass cls, jmethodID id, va_list ap) {          \
    return InvokeV(env, cls, id, ap, true, code, L"CallStatic" #Type "MethodV").field;                  \
  }                                                                                                     \
  jtype JNICALL CallStatic##Type##MethodA(JNIEnv* env, jclass cls, jmethodID id, const jvalue* args) {  \
    return InvokeA(env, cls, id, args, true, code, L"CallStatic" #Type "MethodA").field;                \
  }

JL_CALL_FUNCTIONS(Object, jobject, l, 'L')
JL_CALL_FUNCTIONS(Boolean, jboolean, z, 'Z')
JL_CALL_FUNCTIONS(Byte, jbyte, b, 'B')
JL_CALL_FUNCTIONS(Char, jchar, c, 'C')
JL_CALL_FUNCTIONS(Short, jshort, s, 'S')
JL_CALL_FUNCTIONS(Int, jint, i, 'I')
JL_CALL_FUNCTIONS(Long, jlong, j, 'J')
JL_CALL_FUNCTIONS(Float, jfloat, f, 'F')
JL_CALL_FUNCTIONS(Double, jdouble, d, 'D')

void JNICALL CallVoidMethod(JNIEnv* env, jobject obj, jmethodID id, ...) {
  va_list ap;
  va_start(ap, id);
  InvokeV(env, obj, id, ap, false, 'V', L"CallVoidMethod");
  va_end(ap);
}
void JNICALL CallVoidMethodV(JNIEnv* env, jobject obj, jmethodID id, va_list ap) {
  InvokeV(env, obj, id, ap, false, 'V', L"CallVoidMethodV");
}
void JNICALL CallVoidMethodA(JNIEnv* env, jobject obj, jmethodID id, const jvalue* args) {
  InvokeA(env, obj, id, args, false, 'V', L"CallVoidMethodA");
}
void JNICALL CallStaticVoidMethod(JNIEnv* env, jclass cls, jmethodID id, ...) {
  va_list ap;
  va_start(ap, id);
  InvokeV(env, cls, id, ap, true, 'V', L"CallStaticVoidMethod");
  va_end(ap);
}
void JNICALL CallStaticVoidMethodV(JNIEnv* env, jclass cls, jmethodID id, va_list ap) {
  InvokeV(env, cls, id, ap, true, 'V', L"CallStaticVoidMethodV");
}
void JNICALL CallStaticVoidMethodA(JNIEnv* env, jclass cls, jmethodID id, const jvalue* args) {
  InvokeA(env, cls, id, args, true, 'V', L"CallStaticVoidMethodA");
}

// --- object creation ---

Ref Allocate(const ClassInfo* cls) {
  if (cls->instanceKind == Kind::Throwable) return NewThrowable(cls->name, std::wstring(), false);
  Ref object = std::make_shared<Object>();
  object->kind = cls->instanceKind;
  object->cls = cls;
  return object;
}

jobject Construct(ThreadState& ts, jclass clazz, jmethodID id,
                  std::vector<jvalue> (*read)(const MethodInfo&, const void*), const void* source) {
  const ClassInfo* cls = NeedClass(clazz, L"NewObject");
  const MethodInfo& m = *CheckMethodId(id);
  if (strcmp(m.name, "<init>") != 0 || !IsSubclass(cls, m.cls)) {
    FailLoudly(L"NewObject with a method that is not a constructor of " + Widen(cls->name));
  }
  if (cls->instanceKind == Kind::Class || cls->instanceKind == Kind::ObjectArray ||
      cls->instanceKind == Kind::CharArray) {
    FailLoudly(L"NewObject of " + Widen(cls->name));
  }
  Ref object = Allocate(cls);
  Ref before = ts.pending;
  Run(ts, m, object, read(m, source));
  // A constructor that throws yields no object.
  if (ts.pending && ts.pending != before) return nullptr;
  return NewLocalRef(object);
}

jobject JNICALL NewObjectV(JNIEnv* env, jclass clazz, jmethodID id, va_list ap) {
  ThreadState& ts = Enter(env);
  Lock guard(Vm().lock);
  va_list copy;
  va_copy(copy, ap);
  jobject r = Construct(ts, clazz, id, FromVaList, &copy);
  va_end(copy);
  return r;
}

jobject JNICALL NewObject(JNIEnv* env, jclass clazz, jmethodID id, ...) {
  va_list ap;
  va_start(ap, id);
  jobject r = NewObjectV(env, clazz, id, ap);
  va_end(ap);
  return r;
}

jobject JNICALL NewObjectA(JNIEnv* env, jclass clazz, jmethodID id, const jvalue* args) {
  ThreadState& ts = Enter(env);
  Lock guard(Vm().lock);
  return Construct(ts, clazz, id, FromArray, args);
}

// --- classes and methods ---

jint JNICALL GetVersion(JNIEnv* env) {
  Enter(env);
  return JNI_VERSION_10;
}

jclass JNICALL FindClass(JNIEnv* env, const char* name) {
  Enter(env);
  Lock guard(Vm().lock);
  if (!name) FailLoudly(L"FindClass: null name");
  std::wstring wide = FromModifiedUtf8(name);
  WriteRecord({L"findclass", wide});
  const ClassInfo* cls = FindClassInfo(Slashed(ToUtf8(wide)));
  if (!cls) {
    Throw("java/lang/NoClassDefFoundError", wide);
    return nullptr;
  }
  return static_cast<jclass>(NewLocalRef(ClassObject(cls)));
}

jclass JNICALL GetSuperclass(JNIEnv* env, jclass clazz) {
  Enter(env);
  Lock guard(Vm().lock);
  const ClassInfo* super = SuperOf(NeedClass(clazz, L"GetSuperclass"));
  return super ? static_cast<jclass>(NewLocalRef(ClassObject(super))) : nullptr;
}

jboolean JNICALL IsAssignableFrom(JNIEnv* env, jclass sub, jclass sup) {
  Enter(env);
  Lock guard(Vm().lock);
  return IsSubclass(NeedClass(sub, L"IsAssignableFrom"), NeedClass(sup, L"IsAssignableFrom")->name);
}

jclass JNICALL GetObjectClass(JNIEnv* env, jobject obj) {
  Enter(env);
  Lock guard(Vm().lock);
  return static_cast<jclass>(NewLocalRef(ClassObject(Need(obj, L"GetObjectClass")->cls)));
}

jboolean JNICALL IsInstanceOf(JNIEnv* env, jobject obj, jclass clazz) {
  Enter(env);
  Lock guard(Vm().lock);
  const ClassInfo* cls = NeedClass(clazz, L"IsInstanceOf");
  Ref object = Deref(obj);
  return !object || IsSubclass(object->cls, cls->name);
}

jmethodID LookUp(JNIEnv* env, jclass clazz, const char* name, const char* sig, bool isStatic,
                 const wchar_t* function) {
  Enter(env);
  Lock guard(Vm().lock);
  const ClassInfo* cls = NeedClass(clazz, function);
  if (!name || !sig) FailLoudly(std::wstring(function) + L": null name or signature");
  const MethodInfo* m = FindMethod(cls, name, sig, isStatic);
  if (!m) {
    Throw("java/lang/NoSuchMethodError", FromModifiedUtf8(name));
    return nullptr;
  }
  return reinterpret_cast<jmethodID>(const_cast<MethodInfo*>(m));
}

jmethodID JNICALL GetMethodID(JNIEnv* env, jclass clazz, const char* name, const char* sig) {
  return LookUp(env, clazz, name, sig, false, L"GetMethodID");
}

jmethodID JNICALL GetStaticMethodID(JNIEnv* env, jclass clazz, const char* name, const char* sig) {
  return LookUp(env, clazz, name, sig, true, L"GetStaticMethodID");
}

// --- exceptions ---

jint JNICALL ThrowObject(JNIEnv* env, jthrowable obj) {
  ThreadState& ts = Enter(env);
  Lock guard(Vm().lock);
  ts.pending = NeedKind(obj, Kind::Throwable, L"Throw");
  return JNI_OK;
}

jint JNICALL ThrowNew(JNIEnv* env, jclass clazz, const char* message) {
  ThreadState& ts = Enter(env);
  Lock guard(Vm().lock);
  const ClassInfo* cls = NeedClass(clazz, L"ThrowNew");
  if (!IsSubclass(cls, "java/lang/Throwable")) FailLoudly(L"ThrowNew: not a throwable class");
  ts.pending = NewThrowable(cls->name, FromModifiedUtf8(message), message != nullptr);
  return JNI_OK;
}

jthrowable JNICALL ExceptionOccurred(JNIEnv* env) {
  ThreadState& ts = Enter(env);
  return static_cast<jthrowable>(NewLocalRef(ts.pending));
}

void JNICALL ExceptionDescribe(JNIEnv* env) {
  ThreadState& ts = Enter(env);
  Lock guard(Vm().lock);
  if (!ts.pending) return;
  Ref t = std::move(ts.pending);
  ts.pending.reset();
  WriteRecord({L"describe", ThrowableText(*t)});
  PrintUncaught(ts, *t);
}

void JNICALL ExceptionClear(JNIEnv* env) { Enter(env).pending.reset(); }

jboolean JNICALL ExceptionCheck(JNIEnv* env) { return Enter(env).pending ? JNI_TRUE : JNI_FALSE; }

void JNICALL FatalError(JNIEnv* env, const char* message) {
  Enter(env);
  FailLoudly(L"FatalError: " + FromModifiedUtf8(message));
}

// --- references ---

jobject JNICALL NewGlobalRefFn(JNIEnv* env, jobject obj) {
  Enter(env);
  return NewGlobalRef(Deref(obj));
}

void JNICALL DeleteGlobalRefFn(JNIEnv* env, jobject obj) {
  Enter(env);
  DeleteRef(obj, true);
}

void JNICALL DeleteLocalRefFn(JNIEnv* env, jobject obj) {
  Enter(env);
  DeleteRef(obj, false);
}

jobject JNICALL NewLocalRefFn(JNIEnv* env, jobject obj) {
  Enter(env);
  return NewLocalRef(Deref(obj));
}

jboolean JNICALL IsSameObject(JNIEnv* env, jobject a, jobject b) {
  Enter(env);
  return Deref(a) == Deref(b);
}

jint JNICALL EnsureLocalCapacity(JNIEnv* env, jint) {
  Enter(env);
  return JNI_OK;
}

jobjectRefType JNICALL GetObjectRefType(JNIEnv* env, jobject obj) {
  Enter(env);
  return RefType(obj);
}

jint JNICALL GetJavaVM(JNIEnv* env, JavaVM** vm) {
  Enter(env);
  if (!vm) return JNI_EINVAL;
  *vm = TheJavaVM();
  return JNI_OK;
}

// --- strings ---

jstring JNICALL NewString(JNIEnv* env, const jchar* chars, jsize length) {
  Enter(env);
  if (length < 0 || (length > 0 && !chars)) FailLoudly(L"NewString: bad length or null characters");
  return static_cast<jstring>(NewLocalRef(NewJavaString(std::wstring(chars, chars + length))));
}

jstring JNICALL NewStringUTF(JNIEnv* env, const char* utf) {
  Enter(env);
  if (!utf) return nullptr;
  return static_cast<jstring>(NewLocalRef(NewJavaString(FromModifiedUtf8(utf))));
}

jsize JNICALL GetStringLength(JNIEnv* env, jstring str) {
  Enter(env);
  return static_cast<jsize>(NeedKind(str, Kind::String, L"GetStringLength")->text.size());
}

const jchar* JNICALL GetStringChars(JNIEnv* env, jstring str, jboolean* isCopy) {
  Enter(env);
  const std::wstring& text = NeedKind(str, Kind::String, L"GetStringChars")->text;
  jchar* buffer = Issue<jchar>(text.size());
  std::copy(text.begin(), text.end(), buffer);
  if (isCopy) *isCopy = JNI_TRUE;
  return buffer;
}

void JNICALL ReleaseStringChars(JNIEnv* env, jstring str, const jchar* chars) {
  Enter(env);
  NeedKind(str, Kind::String, L"ReleaseStringChars");
  Reclaim(chars, L"ReleaseStringChars");
}

jsize JNICALL GetStringUTFLength(JNIEnv* env, jstring str) {
  Enter(env);
  return static_cast<jsize>(ToModifiedUtf8(NeedKind(str, Kind::String, L"GetStringUTFLength")->text).size());
}

const char* JNICALL GetStringUTFChars(JNIEnv* env, jstring str, jboolean* isCopy) {
  Enter(env);
  std::string utf = ToModifiedUtf8(NeedKind(str, Kind::String, L"GetStringUTFChars")->text);
  char* buffer = Issue<char>(utf.size());
  memcpy(buffer, utf.data(), utf.size());
  if (isCopy) *isCopy = JNI_TRUE;
  return buffer;
}

void JNICALL ReleaseStringUTFChars(JNIEnv* env, jstring str, const char* chars) {
  Enter(env);
  NeedKind(str, Kind::String, L"ReleaseStringUTFChars");
  Reclaim(chars, L"ReleaseStringUTFChars");
}

bool RangeOk(jsize start, jsize length, size_t size) {
  return start >= 0 && length >= 0 && static_cast<size_t>(start) + static_cast<size_t>(length) <= size;
}

void JNICALL GetStringRegion(JNIEnv* env, jstring str, jsize start, jsize length, jchar* buffer) {
  Enter(env);
  Ref s = NeedKind(str, Kind::String, L"GetStringRegion");
  if (!RangeOk(start, length, s->text.size())) {
    Throw("java/lang/StringIndexOutOfBoundsException");
    return;
  }
  std::copy(s->text.begin() + start, s->text.begin() + start + length, buffer);
}

// --- arrays ---

jsize JNICALL GetArrayLength(JNIEnv* env, jarray array) {
  Enter(env);
  Ref a = Need(array, L"GetArrayLength");
  if (a->kind == Kind::CharArray) return static_cast<jsize>(a->chars.size());
  if (a->kind == Kind::ObjectArray) return static_cast<jsize>(a->elements.size());
  FailLoudly(L"GetArrayLength: not an array");
}

jobjectArray JNICALL NewObjectArray(JNIEnv* env, jsize length, jclass elementClass, jobject initial) {
  Enter(env);
  Lock guard(Vm().lock);
  const ClassInfo* cls = NeedClass(elementClass, L"NewObjectArray");
  if (length < 0) {
    Throw("java/lang/NegativeArraySizeException", std::to_wstring(length));
    return nullptr;
  }
  Ref init = Deref(initial);
  if (init && !IsSubclass(init->cls, cls->name)) {
    Throw("java/lang/ArrayStoreException", Widen(Dotted(init->cls->name).c_str()));
    return nullptr;
  }
  Ref a = std::make_shared<Object>();
  a->kind = Kind::ObjectArray;
  a->cls = FindClassInfo("[Ljava/lang/Object;");
  a->described = cls;
  a->elements.assign(static_cast<size_t>(length), init);
  return static_cast<jobjectArray>(NewLocalRef(a));
}

jobject JNICALL GetObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index) {
  Enter(env);
  Ref a = NeedKind(array, Kind::ObjectArray, L"GetObjectArrayElement");
  if (index < 0 || static_cast<size_t>(index) >= a->elements.size()) {
    Throw("java/lang/ArrayIndexOutOfBoundsException", L"Index " + std::to_wstring(index) +
          L" out of bounds for length " + std::to_wstring(a->elements.size()));
    return nullptr;
  }
  return NewLocalRef(a->elements[static_cast<size_t>(index)]);
}

void JNICALL SetObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index, jobject value) {
  Enter(env);
  Ref a = NeedKind(array, Kind::ObjectArray, L"SetObjectArrayElement");
  if (index < 0 || static_cast<size_t>(index) >= a->elements.size()) {
    Throw("java/lang/ArrayIndexOutOfBoundsException", L"Index " + std::to_wstring(index) +
          L" out of bounds for length " + std::to_wstring(a->elements.size()));
    return;
  }
  Ref v = Deref(value);
  if (v && !IsSubclass(v->cls, a->described->name)) {
    Throw("java/lang/ArrayStoreException", Widen(Dotted(v->cls->name).c_str()));
    return;
  }
  a->elements[static_cast<size_t>(index)] = v;
}

jcharArray JNICALL NewCharArray(JNIEnv* env, jsize length) {
  Enter(env);
  if (length < 0) {
    Throw("java/lang/NegativeArraySizeException", std::to_wstring(length));
    return nullptr;
  }
  Ref a = std::make_shared<Object>();
  a->kind = Kind::CharArray;
  a->cls = FindClassInfo("[C");
  a->chars.assign(static_cast<size_t>(length), 0);
  return static_cast<jcharArray>(NewLocalRef(a));
}

void JNICALL GetCharArrayRegion(JNIEnv* env, jcharArray array, jsize start, jsize length, jchar* buffer) {
  Enter(env);
  Ref a = NeedKind(array, Kind::CharArray, L"GetCharArrayRegion");
  if (!RangeOk(start, length, a->chars.size())) {
    Throw("java/lang/ArrayIndexOutOfBoundsException");
    return;
  }
  std::copy(a->chars.begin() + start, a->chars.begin() + start + length, buffer);
}

void JNICALL SetCharArrayRegion(JNIEnv* env, jcharArray array, jsize start, jsize length, const jchar* buffer) {
  Enter(env);
  Ref a = NeedKind(array, Kind::CharArray, L"SetCharArrayRegion");
  if (!RangeOk(start, length, a->chars.size())) {
    Throw("java/lang/ArrayIndexOutOfBoundsException");
    return;
  }
  if (length > 0 && !buffer) FailLoudly(L"SetCharArrayRegion: null buffer");
  std::copy(buffer, buffer + length, a->chars.begin() + start);
}

// --- the table ---

constexpr size_t kSlotCount = sizeof(JNINativeInterface_) / sizeof(void*);

template <size_t N>
void JNICALL Unimplemented(JNIEnv*) {
  FailLoudly(L"unimplemented JNI slot " + std::to_wstring(N));
}

template <size_t... N>
void FillUnimplemented(void** slots, std::index_sequence<N...>) {
  ((slots[N] = reinterpret_cast<void*>(&Unimplemented<N>)), ...);
}

JNINativeInterface_ BuildTable() {
  JNINativeInterface_ t;
  static_assert(sizeof(t) % sizeof(void*) == 0, "the table is made of pointers");
  FillUnimplemented(reinterpret_cast<void**>(&t), std::make_index_sequence<kSlotCount>());
  t.GetVersion = GetVersion;
  t.FindClass = FindClass;
  t.GetSuperclass = GetSuperclass;
  t.IsAssignableFrom = IsAssignableFrom;
  t.Throw = ThrowObject;
  t.ThrowNew = ThrowNew;
  t.ExceptionOccurred = ExceptionOccurred;
  t.ExceptionDescribe = ExceptionDescribe;
  t.ExceptionClear = ExceptionClear;
  t.FatalError = FatalError;
  t.NewGlobalRef = NewGlobalRefFn;
  t.DeleteGlobalRef = DeleteGlobalRefFn;
  t.DeleteLocalRef = DeleteLocalRefFn;
  t.IsSameObject = IsSameObject;
  t.NewLocalRef = NewLocalRefFn;
  t.EnsureLocalCapacity = EnsureLocalCapacity;
  t.NewObject = NewObject;
  t.NewObjectV = NewObjectV;
  t.NewObjectA = NewObjectA;
  t.GetObjectClass = GetObjectClass;
  t.IsInstanceOf = IsInstanceOf;
  t.GetMethodID = GetMethodID;
  t.GetStaticMethodID = GetStaticMethodID;
#define JL_SET_CALLS(Type)                               \
  t.Call##Type##Method = Call##Type##Method;             \
  t.Call##Type##MethodV = Call##Type##MethodV;           \
  t.Call##Type##MethodA = Call##Type##MethodA;           \
  t.CallStatic##Type##Method = CallStatic##Type##Method; \
  t.CallStatic##Type##MethodV = CallStatic##Type##MethodV; \
  t.CallStatic##Type##MethodA = CallStatic##Type##MethodA;
  JL_SET_CALLS(Object)
  JL_SET_CALLS(Boolean)
  JL_SET_CALLS(Byte)
  JL_SET_CALLS(Char)
  JL_SET_CALLS(Short)
  JL_SET_CALLS(Int)
  JL_SET_CALLS(Long)
  JL_SET_CALLS(Float)
  JL_SET_CALLS(Double)
  JL_SET_CALLS(Void)
#undef JL_SET_CALLS
  t.NewString = NewString;
  t.GetStringLength = GetStringLength;
  t.GetStringChars = GetStringChars;
  t.ReleaseStringChars = ReleaseStringChars;
  t.NewStringUTF = NewStringUTF;
  t.GetStringUTFLength = GetStringUTFLength;
  t.GetStringUTFChars = GetStringUTFChars;
  t.ReleaseStringUTFChars = ReleaseStringUTFChars;
  t.GetStringRegion = GetStringRegion;
  t.GetArrayLength = GetArrayLength;
  t.NewObjectArray = NewObjectArray;
  t.GetObjectArrayElement = GetObjectArrayElement;
  t.SetObjectArrayElement = SetObjectArrayElement;
  t.NewCharArray = NewCharArray;
  t.GetCharArrayRegion = GetCharArrayRegion;
  t.SetCharArrayRegion = SetCharArrayRegion;
  t.GetJavaVM = GetJavaVM;
  t.ExceptionCheck = ExceptionCheck;
  t.GetObjectRefType = GetObjectRefType;
  return t;
}

}  // namespace

const JNINativeInterface_* JniFunctions() {
  static const JNINativeInterface_ table = BuildTable();
  return &table;
}

}  // namespace fakejvm
