#include "base/EnvironmentText.h"
#include "core/LauncherApp.h"
#include "core/ModulePath.h"
#include "runtime/CandidateRanking.h"
#include "runtime/JvmLibrary.h"
#include "runtime/ReleaseFile.h"
#include "runtime/RuntimeFitness.h"
#include "runtime/RuntimeTrace.h"

namespace {

void EnsureTrailingBackslash(String& path)
{
    if (path.Last() != L'\\')
        path += L'\\';
}

}  // namespace

// The first source that yields a JVM library wins: "JRE Path", the runtime
// shipped beside the launcher, the registry, JAVA_HOME, and last the user.
bool LauncherApp::FindRuntime()
{
    bool isServer = false;
    m_jvmLibraryPath.Clear();
    m_launchPair = false;
    JL_TRACE_CALL(TraceRuntimeSettings(*this));

    JL_TRACE("source \"JRE Path\": %s", m_jrePath.IsEmpty() ? L"not set" : m_jrePath.CStr());
    JL_TRACE_IF(!m_jrePath.IsEmpty() && !m_jrePathFromUser,
                "\"JRE Path\" of the settings is taken as it is: the version window does not apply to it");
    if (!m_jrePath.IsEmpty()) {
        String home = m_jrePath;
        EnsureTrailingBackslash(home);
        if (ServesMainModule(home))
            m_jvmLibraryPath = FindJvmLibrary(home, m_jvmType, isServer);
        if (!m_jvmLibraryPath.IsEmpty() && m_jrePathFromUser && !IsStoredRuntimeUsable(home))
            m_jvmLibraryPath.Clear();
        if (!m_jvmLibraryPath.IsEmpty()) {
            CheckRuntimeArchitecture();
            return true;
        }
    }

    String home = GetModuleDirectory();
    JL_TRACE("source beside the launcher: %s", home.CStr());
    if (!home.IsEmpty()) {
        bool accepted = HasJavaDll(home);
        if (!accepted) {
            home += L"jre\\";
            accepted = HasJavaDll(home);
        }
        JL_TRACE("%s: %s", home.CStr(),
                 accepted ? L"runtime home, taken as it is: the version window does not apply to it"
                          : L"no bin\\java.dll here nor in the launcher's folder");
        if (accepted && ServesMainModule(home)) {
            // A runtime shipped beside the launcher may be built for the
            // other machine type, with the paired launcher beside it too.
            m_jvmLibraryPath = FindJvmLibrary(home, m_jvmType, isServer);
            if (!m_jvmLibraryPath.IsEmpty()) {
                CheckRuntimeArchitecture();
                return true;
            }
        }
    }

    bool registryFound = SearchRegistry(RegistryView::Default, home);
    JL_TRACE_IF(!registryFound && m_pairProduct.IsEmpty() && sizeof(void*) == 4,
                "64-bit registry view not searched: no \"Pair Product\"");
    // A 32-bit launcher with a paired launcher also looks at the 64-bit view;
    // for a 64-bit launcher that is the view it has just searched.
    if (!registryFound && !m_pairProduct.IsEmpty() && sizeof(void*) == 4)
        registryFound = SearchRegistry(RegistryView::Force64, home);
    if (registryFound) {
        m_jvmLibraryPath = FindJvmLibrary(home, m_jvmType, isServer);
        if (!m_jvmLibraryPath.IsEmpty())
            return true;
        m_launchPair = false;  // the runtime of a 64-bit pass did not hold up
    }

    if (ReadJavaHomeVariable(home) && IsVersionAcceptable(home) && ServesMainModule(home)) {
        m_jvmLibraryPath = FindJvmLibrary(home, m_jvmType, isServer);
        if (!m_jvmLibraryPath.IsEmpty()) {
            CheckRuntimeArchitecture();
            return true;
        }
    }

    JL_TRACE("no source gave a JVM library");
    if (!OfferRuntimeChoice())
        return false;
    CheckRuntimeArchitecture();
    return true;
}

// The runtime the user picked once and that the per-user file remembers may
// have been replaced, or the settings may have changed since: one that cannot
// serve this launch would fail on every start, so the search goes on and,
// when nothing else is found, the user is asked again.
bool LauncherApp::IsStoredRuntimeUsable(const String& home) const
{
    RuntimeFitness fitness = JudgeRuntime(ReadRuntimeFacts(home, m_jvmLibraryPath), RuntimeNeedsOf(*this));
    JL_TRACE_IF(fitness == RuntimeFitness::OutsideVersionWindow,
                "per-user \"JRE Path\" %s: outside the version window: refused", home.CStr());
    JL_TRACE_IF(fitness == RuntimeFitness::OtherMachine,
                "per-user \"JRE Path\" %s: built for another machine type, no pair to take it: refused", home.CStr());
    return fitness == RuntimeFitness::Usable;
}

// A runtime whose release file names its version must lie in the version
// window; one whose version cannot be read is taken as it is.
bool LauncherApp::IsVersionAcceptable(const String& home) const
{
    JavaVersion version;
    if (!ReadReleaseVersion(home, version)) {
        JL_TRACE("%s: no version in its release file, taken as it is", home.CStr());
        return true;
    }
    bool inWindow = IsInVersionWindow(version, m_versionRequirement.minimum, m_versionRequirement.maximum);
    JL_TRACE_IF(!inWindow, "%s: version %s from its release file is outside the version window: refused", home.CStr(),
                FormatVersion(version).CStr());
    return inWindow;
}

bool LauncherApp::ReadJavaHomeVariable(String& home) const
{
    static const wchar_t kReference[] = L"%JAVA_HOME%";
    home = ExpandEnvironment(String(kReference));
    JL_TRACE("source JAVA_HOME: %s", home.Equals(kReference) ? L"not set" : home.CStr());
    if (home.Equals(kReference))
        return false;  // the variable is not set
    if (home.IsEmpty())
        return false;
    EnsureTrailingBackslash(home);
    JL_TRACE_IF(!HasJavaDll(home), "%s: no bin\\java.dll, not a runtime home: refused", home.CStr());
    return HasJavaDll(home);
}
