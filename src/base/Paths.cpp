#include "base/Paths.h"

#include <shlwapi.h>

namespace {

// A full path is at most the current folder plus a relative name, each below
// the length limit; anything larger is taken as a failure.
constexpr DWORD kLongestFullPath = 2 * kPathLengthLimit + 2;

// Network paths: \\server\share and \\?\UNC\server\share. Other prefixed
// paths are local whatever the shell says (its answer for \\?\C:\ differs
// between systems).
bool IsUncPath(const wchar_t* path)
{
    String text(path);
    if (HasLongPrefix(text))
        return text.StartsWith(kLongUncPrefix);
    return PathIsUNCW(path) != FALSE;
}

// A path that starts at the root of the current drive (\a\b) rather than at a
// drive letter or a server.
bool IsRootRelative(const String& path)
{
    return path.Length() > 0 && path[0] == L'\\' && (path.Length() == 1 || path[1] != L'\\');
}

}  // namespace

bool GetFullPath(const String& path, String& full)
{
    // Size first, then the text; the size is asked again should the current
    // folder change in between.
    DWORD size = GetFullPathNameW(path.CStr(), 0, nullptr, nullptr);
    DWORD written = 0;
    while (size > 0 && size <= kLongestFullPath) {
        wchar_t* buffer = full.GetBuffer(static_cast<int>(size));
        written = GetFullPathNameW(path.CStr(), size + 1, buffer, nullptr);
        if (written <= size)
            break;
        size = written;
        written = 0;
    }
    if (written == 0) {
        full.Clear();
        return false;
    }
    full.SetLength(static_cast<int>(written));
    return true;
}

FileFinder::FileFinder() : m_findData() {}

void FileFinder::Close()
{
    m_findHandle.reset();
    m_found = false;
}

bool FileFinder::FindFirst(const wchar_t* name)
{
    Close();
    String path;
    if (!MakeExtendedLengthForm(String(name ? name : L"*.*"), IsUncPath, path))
        return false;  // too long for any file function; last error untouched

    m_findHandle.reset(FindFirstFileW(path.CStr(), &m_findData));
    if (!m_findHandle)
        return false;  // FindFirstFileW's last error stays (reset keeps it)

    if (!GetFullPath(path, m_root)) {
        Close();
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    CutToFolderPart(m_root);

    m_found = true;
    return true;
}

bool AbsolutePathExists(const String& path)
{
    if (path.Length() < 2)
        return false;
    if (!(path[0] == L'\\' && path[1] == L'\\') && path[1] != L':')
        return false;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW(path.CStr(), &data));
    return find.valid();
}

StringList SplitPath(const String& path)
{
    StringList parts;
    SplitPathText(path, IsUncPath, parts);
    return parts;
}

DWORD CreateParentDirectories(const String& path)
{
    if (AbsolutePathExists(path))
        return 0;
    // A path from the current drive's root (\a\b\f.txt) splits into
    // components without a root; building on the first of them would create
    // folders under the current folder instead. Such paths, like paths that
    // split into nothing (empty, or a lone backslash), get no folders.
    if (IsRootRelative(path))
        return 0;
    bool isUnc = IsUncPath(path.CStr());
    StringList parts = SplitPath(path);
    if (parts.IsEmpty())
        return 0;

    String built = parts[0];
    bool builtCreatedHere = false;  // the root never is
    DWORD lastError = 0;
    for (int i = 1; i <= parts.Count() - 2; ++i) {
        String candidate = built + L'\\' + parts[i];
        bool created = CreateDirectoryW(candidate.CStr(), nullptr) != FALSE;
        if (!created) {
            lastError = GetLastError();
            if (lastError != ERROR_ALREADY_EXISTS && !isUnc) {
                // Undo the folder just above the failing one, but only when
                // this call made it: a folder that was there before stays,
                // empty or not. RemoveDirectoryW leaves non-empty folders
                // alone, and a failed removal changes nothing for the caller.
                if (i > 1 && builtCreatedHere)
                    RemoveDirectoryLong(built);
                break;
            }
            // Existing folders, and the server and share levels of a network
            // path (which cannot be created), are passed over.
        }
        built = static_cast<String&&>(candidate);
        builtCreatedHere = created;
    }
    return (lastError == 0 || lastError == ERROR_ALREADY_EXISTS) ? 0 : lastError;
}

DWORD CreateFoldersFor(const String& path)
{
    String full;
    String extended;
    if (!GetFullPath(path, full) || !MakeExtendedLengthForm(full, IsUncPath, extended))
        return ERROR_INVALID_NAME;
    return CreateParentDirectories(extended);
}

bool RemoveDirectoryLong(const String& path)
{
    if (path.Length() < kLongPathThreshold || HasLongPrefix(path))
        return RemoveDirectoryW(path.CStr()) == TRUE;
    String extended(kLongPrefix);
    extended.Append(path);
    return RemoveDirectoryW(extended.CStr()) == TRUE;
}

bool GetFileIdentity(const String& path, FileIdentity& identity)
{
    UniqueFileHandle file(CreateFileW(path.CStr(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file || !GetFileInformationByHandle(file.get(), &info))
        return false;
    identity.volumeSerial = info.dwVolumeSerialNumber;
    identity.indexHigh = info.nFileIndexHigh;
    identity.indexLow = info.nFileIndexLow;
    return true;
}
