#include "runtime/JvmLibrary.h"

#include "base/Trace.h"
#include "base/UniqueResource.h"
#include "core/LauncherApp.h"

namespace {

struct LibraryLocation {
    const wchar_t* subPath;
    bool isServer;
};

const wchar_t kServerLibrary[] = L"bin\\server\\jvm.dll";

// Tried in this order for "any" and, after the server library, "favor_server".
const LibraryLocation kLibraryLocations[] = {
    {L"bin\\client\\jvm.dll", false},
    {L"bin\\classic\\jvm.dll", false},
    {L"bin\\hotspot\\jvm.dll", false},
    {kServerLibrary, true},
    {L"bin\\jrockit\\jvm.dll", false},
};

}  // namespace

bool PathExists(const String& path)
{
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW(path.CStr(), &data));
    return find.valid();
}

bool HasJavaDll(const String& home)
{
    return PathExists(home + L"bin\\java.dll");
}

String FindJvmLibrary(const String& home, JvmType type, bool& isServer)
{
    if (type == JvmType::Server || type == JvmType::FavorServer) {
        String path = home + kServerLibrary;
        if (PathExists(path)) {
            isServer = true;
            JL_TRACE("JVM library %s", path.CStr());
            return path;
        }
        JL_TRACE_IF(type == JvmType::Server, "no %s, which \"JVM Type\" server requires: refused", path.CStr());
        if (type == JvmType::Server)
            return String();
    }
    for (const LibraryLocation& location : kLibraryLocations) {
        String path = home + location.subPath;
        if (PathExists(path)) {
            isServer = location.isServer;
            JL_TRACE("JVM library %s", path.CStr());
            return path;
        }
    }
    JL_TRACE("no JVM library under %s (bin\\client, classic, hotspot, server or jrockit): refused", home.CStr());
    return String();
}
