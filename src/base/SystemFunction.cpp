#include "base/SystemFunction.h"

#include "base/UniqueResource.h"

FARPROC GetSystemExport(const wchar_t* library, const char* name)
{
    UniqueModule module(LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!module)
        return nullptr;
    FARPROC function = GetProcAddress(module.get(), name);
    if (function)
        module.release();  // kept for the rest of the process; see the header
    return function;
}
