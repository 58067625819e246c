// Objects of the stand-in runtime and the handle table through which JNI
// hands them out. A handle is an index into the table; local handles belong
// to the thread that received them, and a deleted or foreign handle ends the
// process loudly instead of silently working (a real VM would crash).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "jni.h"

namespace fakejvm {

enum class Kind { Plain, Class, String, CharArray, ObjectArray, Throwable, FileStream, PrintStream, ByteStream };

struct ClassInfo {
  const char* name;   // slash form, e.g. java/lang/String
  const char* super;  // null for java/lang/Object
  Kind instanceKind;
};

struct Object {
  Kind kind = Kind::Plain;
  const ClassInfo* cls = nullptr;        // the object's own class
  const ClassInfo* described = nullptr;  // Class: the class it stands for; ObjectArray: element class
  std::wstring text;                     // String: contents; Throwable: message
  bool hasMessage = false;               // Throwable: message not null
  std::wstring origin;                   // Throwable: "pkg.Class.method" that threw it
  std::vector<jchar> chars;              // CharArray
  std::vector<std::shared_ptr<Object>> elements;  // ObjectArray
  HANDLE file = INVALID_HANDLE_VALUE;    // FileStream: owned file
  DWORD stdHandle = 0;                   // FileStream: STD_OUTPUT_HANDLE / STD_ERROR_HANDLE instead
  bool closed = false;
  std::string bytes;                     // ByteStream contents
  std::shared_ptr<Object> target;        // PrintStream: stream it writes to

  Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  ~Object();
};

using Ref = std::shared_ptr<Object>;

jobject NewLocalRef(const Ref& object);   // null object -> null handle
jobject NewGlobalRef(const Ref& object);
Ref Deref(jobject handle);                // null handle -> null; bad handle fails loudly
void DeleteRef(jobject handle, bool global);
jobjectRefType RefType(jobject handle);
// Invalidates every local handle of a thread (at detach, as a VM frees them).
void DropLocalRefs(DWORD threadId);

}  // namespace fakejvm
