#pragma once

#include "base/List.h"
#include "base/PathText.h"
#include "base/Text.h"
#include "base/UniqueResource.h"

#include <windows.h>

// Finds the first match of a file name or wildcard pattern and remembers it
// together with the folder part of the searched name's full path. Long names
// are searched in extended-length form. Only the first match is needed, so
// there is no find-next.
class FileFinder {
public:
    FileFinder();
    FileFinder(const FileFinder&) = delete;
    FileFinder& operator=(const FileFinder&) = delete;

    // Closes any earlier search and searches for name ("*.*" when null). On
    // failure the reason is in the last-error value: the one the search left,
    // ERROR_INVALID_NAME when no full path can be formed, and unchanged for a
    // name of 32767 characters or more, which is refused without a search.
    bool FindFirst(const wchar_t* name);
    bool FindFirst(const String& name) { return FindFirst(name.CStr()); }
    void Close();

    bool Found() const { return m_found; }
    // The first match of the last successful search.
    const WIN32_FIND_DATAW& FindData() const { return m_findData; }
    // The full path of the last searched name up to (not including) its last
    // separator, "\" or "/".
    const String& Root() const { return m_root; }

private:
    UniqueFindHandle m_findHandle;
    WIN32_FIND_DATAW m_findData;
    bool m_found = false;
    String m_root;
};

// The full path of path as the file functions resolve it (relative to the
// current folder, "/" read as "\"); false, with full empty, when there is none.
bool GetFullPath(const String& path, String& full);

// What identifies a file or folder whatever spelling of its path names it
// (case, short names, links, drive letter or network form): its volume's
// serial number and its file index.
struct FileIdentity {
    DWORD volumeSerial = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;

    bool operator==(const FileIdentity& other) const
    {
        return volumeSerial == other.volumeSerial && indexHigh == other.indexHigh && indexLow == other.indexLow;
    }
};
// False, with the system's reason in the last-error value, when path cannot
// be opened (even for reading its attributes).
bool GetFileIdentity(const String& path, FileIdentity& identity);

// True when an absolute path (drive or server form, used as given) names
// something that exists. Relative paths never count as existing.
bool AbsolutePathExists(const String& path);

// The root of path (if any) followed by its components; see SplitPathText.
StringList SplitPath(const String& path);

// Creates every folder on the way to the file named by path (never the file
// itself). Returns 0 or the Win32 code of the last failure other than
// ERROR_ALREADY_EXISTS. After a failure on a local path the folder just above
// the failing one is removed again if it is empty. Failures on the server and
// share levels of a network path are passed over. No long prefix is added:
// callers that need folders beyond 259 characters pass a prefixed path.
DWORD CreateParentDirectories(const String& path);

// Creates the folders on the way to the file that path names, in any form a
// file function takes it: relative to the current folder, with "/" as well as
// "\" between its parts, or longer than 259 characters. Returns as
// CreateParentDirectories, or ERROR_INVALID_NAME when path has no full form.
DWORD CreateFoldersFor(const String& path);

// Removes one empty folder of a local path, adding the long prefix to a path
// of 260 characters or more that lacks it.
bool RemoveDirectoryLong(const String& path);
