#include "base/EnvironmentText.h"
#include "core/LauncherApp.h"
#include "core/ModulePath.h"
#include "runtime/CandidateRanking.h"
#include "runtime/JvmLibrary.h"
#include "runtime/ReleaseFile.h"

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

    if (!m_jrePath.IsEmpty()) {
        String home = m_jrePath;
        EnsureTrailingBackslash(home);
        m_jvmLibraryPath = FindJvmLibrary(home, m_jvmType, isServer);
        if (!m_jvmLibraryPath.IsEmpty()) {
            CheckRuntimeArchitecture();
            return true;
        }
    }

    String home = GetModuleDirectory();
    if (!home.IsEmpty()) {
        bool accepted = HasJavaDll(home);
        if (!accepted) {
            home += L"jre\\";
            accepted = HasJavaDll(home);
        }
        if (accepted) {
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

    if (ReadJavaHomeVariable(home) && IsVersionAcceptable(home)) {
        m_jvmLibraryPath = FindJvmLibrary(home, m_jvmType, isServer);
        if (!m_jvmLibraryPath.IsEmpty()) {
            CheckRuntimeArchitecture();
            return true;
        }
    }

    if (!AskForRuntime())
        return false;
    CheckRuntimeArchitecture();
    return true;
}

// A runtime whose release file names its version must lie in the version
// window; one whose version cannot be read is taken as it is.
bool LauncherApp::IsVersionAcceptable(const String& home) const
{
    JavaVersion version;
    if (!ReadReleaseVersion(home, version))
        return true;
    return IsInVersionWindow(version, m_versionRequirement.minimum, m_versionRequirement.maximum);
}

bool LauncherApp::ReadJavaHomeVariable(String& home) const
{
    static const wchar_t kReference[] = L"%JAVA_HOME%";
    home = ExpandEnvironment(String(kReference));
    if (home.Equals(kReference))
        return false;  // the variable is not set
    if (home.IsEmpty())
        return false;
    EnsureTrailingBackslash(home);
    return HasJavaDll(home);
}
