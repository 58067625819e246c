// The JNIEnv function table, and the functions for classes, exceptions and
// references. Every slot the launcher may use is implemented; every other
// slot ends the process loudly with "unimplemented JNI slot N".
#include <utility>

#include "ClassTable.h"
#include "JniParts.h"
#include "JvmText.h"
#include "LogWriter.h"

namespace fakejvm {
namespace {

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
  t.GetObjectClass = GetObjectClass;
  t.IsInstanceOf = IsInstanceOf;
  t.GetMethodID = GetMethodID;
  t.GetStaticMethodID = GetStaticMethodID;
  InstallCallFunctions(t);
  InstallStringAndArrayFunctions(t);
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
