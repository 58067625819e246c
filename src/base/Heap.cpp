#include "base/Heap.h"

#include "base/FatalError.h"

#include <windows.h>

void* HeapAllocate(size_t bytes)
{
    void* block = HeapAlloc(GetProcessHeap(), 0, bytes ? bytes : 1);
    if (!block)
        RaiseFatalError(kFatalOutOfMemory);
    return block;
}

void* HeapReallocate(void* block, size_t bytes)
{
    if (!block)
        return HeapAllocate(bytes);
    void* grown = HeapReAlloc(GetProcessHeap(), 0, block, bytes ? bytes : 1);
    if (!grown)
        RaiseFatalError(kFatalOutOfMemory);
    return grown;
}

void HeapRelease(void* block)
{
    if (block)
        HeapFree(GetProcessHeap(), 0, block);
}

size_t CheckedArrayBytes(size_t count, size_t elementSize)
{
    if (elementSize && count > static_cast<size_t>(-1) / elementSize)
        RaiseFatalError(kFatalOutOfMemory);
    return count * elementSize;
}
