#include "Heap.h"

#include <mutex>

#include "LogWriter.h"

namespace fakejvm {
namespace {

enum class Slot { Free, Local, Global };

struct Entry {
  Ref object;
  Slot slot = Slot::Free;
  DWORD owner = 0;
};

std::mutex g_handleLock;
std::vector<Entry> g_handles;

jobject Add(const Ref& object, Slot slot) {
  if (!object) return nullptr;
  std::lock_guard<std::mutex> guard(g_handleLock);
  g_handles.push_back({object, slot, GetCurrentThreadId()});
  return reinterpret_cast<jobject>(g_handles.size() * 4);
}

// Index of a handle; fails loudly for values that were never handed out.
size_t IndexOf(jobject handle) {
  uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  if (value % 4 != 0 || value / 4 > g_handles.size()) {
    FailLoudly(L"invalid object handle passed to JNI");
  }
  return value / 4 - 1;
}

}  // namespace

Object::~Object() {
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

jobject NewLocalRef(const Ref& object) { return Add(object, Slot::Local); }
jobject NewGlobalRef(const Ref& object) { return Add(object, Slot::Global); }

Ref Deref(jobject handle) {
  if (!handle) return nullptr;
  std::lock_guard<std::mutex> guard(g_handleLock);
  const Entry& e = g_handles[IndexOf(handle)];
  if (e.slot == Slot::Free) FailLoudly(L"deleted reference used");
  if (e.slot == Slot::Local && e.owner != GetCurrentThreadId()) {
    FailLoudly(L"local reference used on a thread it does not belong to");
  }
  return e.object;
}

void DeleteRef(jobject handle, bool global) {
  if (!handle) return;
  std::lock_guard<std::mutex> guard(g_handleLock);
  Entry& e = g_handles[IndexOf(handle)];
  if (e.slot == Slot::Free) FailLoudly(L"reference deleted twice");
  if ((e.slot == Slot::Global) != global) {
    FailLoudly(global ? L"DeleteGlobalRef on a local reference" : L"DeleteLocalRef on a global reference");
  }
  if (e.slot == Slot::Local && e.owner != GetCurrentThreadId()) {
    FailLoudly(L"local reference deleted on a thread it does not belong to");
  }
  e.slot = Slot::Free;
  e.object.reset();
}

jobjectRefType RefType(jobject handle) {
  if (!handle) return JNIInvalidRefType;
  std::lock_guard<std::mutex> guard(g_handleLock);
  uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  if (value % 4 != 0 || value / 4 > g_handles.size()) return JNIInvalidRefType;
  const Entry& e = g_handles[value / 4 - 1];
  if (e.slot == Slot::Local) return JNILocalRefType;
  if (e.slot == Slot::Global) return JNIGlobalRefType;
  return JNIInvalidRefType;
}

void DropLocalRefs(DWORD threadId) {
  std::lock_guard<std::mutex> guard(g_handleLock);
  for (Entry& e : g_handles) {
    if (e.slot == Slot::Local && e.owner == threadId) {
      e.slot = Slot::Free;
      e.object.reset();
    }
  }
}

}  // namespace fakejvm
