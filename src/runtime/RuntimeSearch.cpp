#include "base/EnvironmentText.h"
#include "core/LauncherApp.h"
#include "core/ModulePath.h"
#include "runtime/JvmLibrary.h"

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
            // A runtime shipped with the launcher is taken as built for it.
            m_jvmLibraryPath = FindJvmLibrary(home, m_jvmType, isServer);
            if (!m_jvmLibraryPath.IsEmpty())
                return true;
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

    if (ReadJavaHomeVariable(home)) {
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
