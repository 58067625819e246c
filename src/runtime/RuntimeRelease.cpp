#include "base/UniqueResource.h"
#include "runtime/ReleaseFile.h"

#include <windows.h>

// Only a plain disk file is read: a name that leads to a pipe or a device is
// left alone, so that a strange home cannot make the launcher wait.
bool ReadReleaseFile(const String& home, AnsiString& bytes)
{
    String path = home + L"release";
    UniqueFileHandle file(CreateFileW(path.CStr(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK)
        return false;
    char* buffer = bytes.GetBuffer(kReleaseFileReadLimit);
    int total = 0;
    while (total < kReleaseFileReadLimit) {
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer + total, static_cast<DWORD>(kReleaseFileReadLimit - total), &read, nullptr) ||
            read == 0)
            break;
        total += static_cast<int>(read);
    }
    bytes.SetLength(total);
    return true;
}

bool ReadReleaseVersion(const String& home, JavaVersion& version)
{
    version = JavaVersion();
    AnsiString bytes;
    return ReadReleaseFile(home, bytes) && ParseReleaseVersion(bytes.CStr(), bytes.Length(), version);
}
