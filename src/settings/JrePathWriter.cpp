#include "settings/JrePathWriter.h"

#include "base/Paths.h"
#include "base/UniqueResource.h"
#include "settings/SettingsIndex.h"

#include <windows.h>

namespace {

// A name beside the file that no earlier write of this process used: the
// profile functions keep files they have seen in a cache that a reused name
// with an unchanged time stamp could hit.
String ScratchPathFor(const String& path)
{
    static LONG counter = 0;
    LONG number = InterlockedIncrement(&counter);
    wchar_t suffix[40] = {};
    wsprintfW(suffix, L".%lu-%ld.tmp", GetCurrentProcessId(), number);
    return path + suffix;
}

// The file can be replaced: it is an ordinary file this process may write.
bool CanReplace(const String& path, DWORD attributes)
{
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
        return false;
    UniqueFileHandle probe(CreateFileW(path.CStr(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return probe.valid();
}

}  // namespace

bool WriteSettingSafely(const String& path, const wchar_t* section, const wchar_t* key, const String& value,
                        bool createFolders)
{
    if (path.IsEmpty())
        return false;
    if (createFolders)
        CreateParentDirectories(path);  // a failure shows in the write below
    DWORD attributes = GetFileAttributesW(path.CStr());
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && !CanReplace(path, attributes))
        return false;

    String scratch = ScratchPathFor(path);
    if (exists && !CopyFileW(path.CStr(), scratch.CStr(), TRUE))
        return false;
    bool written = WritePrivateProfileStringW(section, key, value.CStr(), scratch.CStr()) != FALSE;
    DWORD flags = MOVEFILE_WRITE_THROUGH | (exists ? MOVEFILE_REPLACE_EXISTING : 0);
    if (written && MoveFileExW(scratch.CStr(), path.CStr(), flags)) {
        ForgetSettingsFile(path);
        return true;
    }
    DeleteFileW(scratch.CStr());
    return false;
}
