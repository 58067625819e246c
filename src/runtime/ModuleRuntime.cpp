#include "core/LauncherApp.h"
#include "runtime/CandidateRanking.h"
#include "runtime/ReleaseFile.h"
#include "runtime/RuntimeTrace.h"

// A main module is resolved by the runtime's module system, which runtimes
// before 9 do not have: the search passes them over for such an application.

bool LauncherApp::RefusesForMainModule(const JavaVersion& version, const String& runtime) const
{
    if (m_mainModule.IsEmpty() || !PredatesModules(version))
        return false;
    JL_TRACE("%s: version %s, older than 9, which \"Main Module\" needs: refused", runtime.CStr(),
             VersionText(version).CStr());
    return true;
}

// For a runtime that is not in the registry the release file tells the
// version; one whose version cannot be read is taken as it is.
bool LauncherApp::ServesMainModule(const String& home) const
{
    if (m_mainModule.IsEmpty())
        return true;
    JavaVersion version;
    return !ReadReleaseVersion(home, version) || !RefusesForMainModule(version, home);
}
