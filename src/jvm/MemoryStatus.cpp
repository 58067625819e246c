#include "jvm/MemoryOptions.h"

#include <windows.h>

MemoryFigures QueryMemoryFigures()
{
    MEMORYSTATUS status = {};
    status.dwLength = sizeof(status);
    GlobalMemoryStatus(&status);
    MemoryFigures figures;
    figures.totalPhysical = status.dwTotalPhys;
    figures.availableVirtual = status.dwAvailVirtual;
    return figures;
}
