// JNI strings (UTF-16 inside, modified UTF-8 at the UTF functions) and the
// char and object arrays the launcher builds.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>

#include "JniParts.h"
#include "JvmText.h"

namespace fakejvm {
namespace {

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

}  // namespace

void InstallStringAndArrayFunctions(JNINativeInterface_& t) {
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
}

}  // namespace fakejvm
