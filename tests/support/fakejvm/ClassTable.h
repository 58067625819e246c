// The classes the stand-in runtime knows and the built-in methods they have.
// The class path is never read: these classes are all there is.
#pragma once

#include <string>
#include <vector>

#include "Vm.h"

namespace fakejvm {

struct MethodInfo;

// One call of a built-in method: the receiver (null for static methods) and
// the arguments, already read according to the signature.
struct CallFrame {
  ThreadState& ts;
  const MethodInfo& method;
  Ref self;
  std::vector<jvalue> args;

  Ref Obj(size_t i) const { return Deref(args[i].l); }
};

using MethodImpl = jvalue (*)(CallFrame&);

struct MethodInfo {
  const char* cls;   // declaring class, slash form
  const char* name;
  const char* sig;
  bool isStatic;
  MethodImpl impl;
};

struct MethodTable {
  const MethodInfo* begin;
  const MethodInfo* end;
};

MethodTable LibraryMethods();   // JavaLibrary.cpp
MethodTable ProgramMethods();   // TestPrograms.cpp

// Accepts the slash form; callers convert dotted names first.
const ClassInfo* FindClassInfo(const std::string& name);
const ClassInfo* SuperOf(const ClassInfo* cls);
bool IsSubclass(const ClassInfo* cls, const char* ancestor);
Ref ClassObject(const ClassInfo* cls);  // one Class object per class
// Instance methods are searched up the class chain; constructors only in the
// class itself (throwables share Throwable's); static methods in the class
// and its superclasses.
const MethodInfo* FindMethod(const ClassInfo* cls, const char* name, const char* sig, bool isStatic);
const MethodInfo* CheckMethodId(jmethodID id);  // fails loudly for foreign ids

std::wstring DottedName(const ClassInfo* cls);

}  // namespace fakejvm
