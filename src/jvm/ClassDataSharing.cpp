#include "base/Encoding.h"
#include "base/EnvironmentText.h"
#include "base/Paths.h"
#include "base/Trace.h"
#include "core/LauncherApp.h"
#include "core/LauncherVersion.h"
#include "core/ModulePath.h"
#include "jvm/AnsiPaths.h"
#include "jvm/ClassDataSharingRules.h"
#include "jvm/Environment.h"
#include "runtime/ReleaseFile.h"
#include "settings/SettingsPathRules.h"
#include "settings/SettingsPaths.h"

// "Class Data Sharing": the application's classes are kept in an archive in
// the user's local application data, one per runtime, class path and
// launcher version, which the VM maps on later starts instead of loading and
// verifying the classes again.

namespace {

bool IsFolder(const String& path)
{
    DWORD attributes = GetFileAttributesW(path.CStr());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The archive's path as the VM reads its options, in the ANSI code page;
// false when that code page cannot hold it.
bool PathForVm(const String& path, AnsiString& vmPath)
{
    // A folder named outside the code page is passed in its short form.
    String usable;
    AnsiPathForm form = FindAnsiPathForm(path, usable);
    if (form != AnsiPathForm::Exact && form != AnsiPathForm::Short)
        return false;
    vmPath = ToAnsi(usable);
    return true;
}

// Deletes the application's older archives; a file that cannot be deleted
// (in use by a running copy) stays.
void PruneArchives(const String& folder, const String& baseName, const String& current)
{
    List<ArchiveFile> archives;
    WIN32_FIND_DATAW found;
    UniqueFindHandle search(FindFirstFileW((folder + L"\\*.jsa").CStr(), &found));
    if (!search.valid())
        return;
    do {
        String name(found.cFileName);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !IsArchiveFileName(name, baseName))
            continue;
        ArchiveFile archive;
        archive.name = name;
        archive.writeTime = (static_cast<uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                            found.ftLastWriteTime.dwLowDateTime;
        archives.Append(static_cast<ArchiveFile&&>(archive));
    } while (FindNextFileW(search.get(), &found));
    for (const String& name : ArchivesToDelete(archives, current)) {
        BOOL deleted = DeleteFileW((folder + L"\\" + name).CStr());
        JL_TRACE("older class-data archive %s: %s", name.CStr(), deleted ? L"deleted" : L"could not be deleted");
    }
}

}  // namespace

void LauncherApp::AddClassDataSharingOptions()
{
    if (!m_classDataSharing)
        return;
    String home = StripLastComponents(m_jvmLibraryPath, 3);
    JavaVersion version;
    bool versionKnown = ReadReleaseVersion(home + L"\\", version);
    // A registry runtime's version is its key's name.
    if (!versionKnown && m_versionRequirement.working.count > 0) {
        version = m_versionRequirement.working;
        versionKnown = true;
    }
    switch (DecideArchive(m_jvmOptions, versionKnown, version)) {
    case ArchiveVerdict::Add:
        break;
    case ArchiveVerdict::UsersOwn:
        JL_TRACE("class-data archive: none added, the VM parameters decide about archives themselves");
        return;
    case ArchiveVerdict::VersionUnknown:
        JL_TRACE("class-data archive: none added, the runtime's version is unknown (no JAVA_VERSION in %s\\release)",
                 home.CStr());
        return;
    case ArchiveVerdict::RuntimeTooOld:
        JL_TRACE("class-data archive: none added, runtime %s is older than %d", FormatVersion(version).CStr(),
                 kAutoArchiveRelease);
        return;
    }

    String localAppData = ReadEnvironmentVariable(L"LOCALAPPDATA");
    if (localAppData.IsEmpty()) {
        JL_TRACE("class-data archive: none added, LOCALAPPDATA is not set");
        return;
    }
    String folder = GetPerUserFolder(*this, localAppData, true);
    if (!IsFolder(folder)) {
        JL_TRACE("class-data archive: none added, the folder %s cannot be made", folder.CStr());
        return;
    }
    String modulePath = GetModulePath();
    if (modulePath.IsEmpty())
        return;  // the message has been shown
    String baseName = SettingsBaseName(modulePath);
    String name = ArchiveFileName(baseName, ArchiveHash(home, m_jvmOptions, String(JL_LAUNCHER_VERSION)));
    String path = folder + L"\\" + name;
    AnsiString vmPath;
    if (!PathForVm(path, vmPath)) {
        JL_TRACE("class-data archive: none added, the ANSI code page cannot hold the path %s", path.CStr());
        return;
    }
    bool existed = AbsolutePathExists(path);
    PruneArchives(folder, baseName, name);
    AppendArchiveOptions(vmPath, m_jvmOptions);
    JL_TRACE("class-data archive %s: %s", path.CStr(),
             existed ? L"existed before this launch, the VM maps it" : L"new, the VM writes it when the program ends");
}
