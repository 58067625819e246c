// The launcher's executable carries its own allocation operators, on the
// process heap: allocation failure is the launcher's fatal error, so nothing
// of the C++ exception machinery is linked in.
#include "base/FatalError.h"
#include "base/Heap.h"

#include <stddef.h>

void* operator new(size_t bytes) { return HeapAllocate(bytes); }
void* operator new[](size_t bytes) { return HeapAllocate(bytes); }
void operator delete(void* block) noexcept { HeapRelease(block); }
void operator delete[](void* block) noexcept { HeapRelease(block); }
void operator delete(void* block, size_t) noexcept { HeapRelease(block); }
void operator delete[](void* block, size_t) noexcept { HeapRelease(block); }

extern "C" void __cxa_pure_virtual() { RaiseFatalError(kFatalFail); }
