#pragma once

#include <stddef.h>

// Blocks on the process heap. Allocation failures raise the fatal error
// (E_OUTOFMEMORY); callers never see a null result.
void* HeapAllocate(size_t bytes);
void* HeapReallocate(void* block, size_t bytes);
void HeapRelease(void* block);

// Bytes for count elements of elementSize, or the fatal error on overflow.
size_t CheckedArrayBytes(size_t count, size_t elementSize);
