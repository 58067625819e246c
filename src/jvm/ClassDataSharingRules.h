#pragma once

#include "base/List.h"
#include "base/Text.h"
#include "runtime/Version.h"

#include <stdint.h>

// Rules of the per-application class-data archive, free of system calls.
// From feature release 19 on, a VM given -XX:SharedArchiveFile and
// -XX:+AutoCreateSharedArchive maps the classes of earlier runs from that
// file, and writes it anew at the end of a run when it is missing or stale.

constexpr int kAutoArchiveRelease = 19;
// Archives of one application that stay in its folder, the one in use included.
constexpr int kArchivesKept = 3;

// The feature release of a runtime version: 1.8.0 is 8, 21.0.2 is 21.
int FeatureRelease(const JavaVersion& version);

enum class ArchiveVerdict {
    Add,             // the two options are added
    UsersOwn,        // the VM parameters already decide about archives
    VersionUnknown,  // neither the search nor the release file tells the version
    RuntimeTooOld,   // an older VM would refuse the options and not start
};
// options: the VM options as they are so far (the user's parameters among
// them).
ArchiveVerdict DecideArchive(const AnsiList& options, bool versionKnown, const JavaVersion& version);

// An option by which the user decides about archives: -XX:SharedArchiveFile,
// -XX:ArchiveClassesAtExit, -XX:+/-AutoCreateSharedArchive, -Xshare:off or
// -Xshare:dump.
bool IsOwnArchiveOption(const AnsiString& option);

// 64-bit FNV-1a over what an archive is valid for: the runtime's home, the
// class-path and module-path options exactly as they go to the VM, and the
// launcher's version.
uint64_t ArchiveHash(const String& runtimeHome, const AnsiList& options, const String& launcherVersion);

// "<base name>-<16 hexadecimal digits>.jsa".
String ArchiveFileName(const String& baseName, uint64_t hash);
// Whether a file name has that form for baseName (compared as file names
// are, without regard to ASCII case).
bool IsArchiveFileName(const String& name, const String& baseName);

struct ArchiveFile {
    String name;
    uint64_t writeTime = 0;  // larger is newer
};
// The archives to delete so that, beside the one named current (which the VM
// may still have to write), at most kArchivesKept - 1 others remain: the
// newest ones stay.
StringList ArchivesToDelete(const List<ArchiveFile>& archives, const String& current);

// The two options, for an archive path already in the VM's code page.
void AppendArchiveOptions(const AnsiString& archivePath, AnsiList& options);
