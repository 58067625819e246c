// The parts of the JNIEnv function table, each in its own file, and the
// argument checks they share.
#pragma once

#include <string>

#include "ClassTable.h"
#include "LogWriter.h"

namespace fakejvm {

void InstallCallFunctions(JNINativeInterface_& table);            // JniCalls.cpp
void InstallStringAndArrayFunctions(JNINativeInterface_& table);  // JniStrings.cpp

using Lock = std::lock_guard<std::recursive_mutex>;

inline Ref Need(jobject handle, const wchar_t* what) {
  Ref object = Deref(handle);
  if (!object) FailLoudly(std::wstring(what) + L": null object");
  return object;
}

inline Ref NeedKind(jobject handle, Kind kind, const wchar_t* what) {
  Ref object = Need(handle, what);
  if (object->kind != kind) FailLoudly(std::wstring(what) + L": object of the wrong kind");
  return object;
}

inline const ClassInfo* NeedClass(jclass handle, const wchar_t* what) {
  return NeedKind(handle, Kind::Class, what)->described;
}

}  // namespace fakejvm
