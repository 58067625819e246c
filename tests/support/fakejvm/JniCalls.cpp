// JNI method calls (Call<Type>Method, CallStatic<Type>Method in their
// variadic, va_list and jvalue forms) and object construction. Arguments are
// read according to the method's signature and checked against its parameter
// types before the built-in method runs.
#include <cstdarg>
#include <cstring>
#include <utility>

#include "JniParts.h"
#include "JvmText.h"

namespace fakejvm {
namespace {

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

}  // namespace

void InstallCallFunctions(JNINativeInterface_& t) {
  t.NewObject = NewObject;
  t.NewObjectV = NewObjectV;
  t.NewObjectA = NewObjectA;
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
}

}  // namespace fakejvm
