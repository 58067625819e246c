#include "core/LauncherApp.h"
#include "runtime/CandidateRanking.h"
#include "runtime/JavaRuntime.h"
#include "runtime/JvmLibrary.h"
#include "runtime/PeImageView.h"
#include "runtime/RegistrySearchShared.h"
#include "runtime/RegistryText.h"
#include "runtime/ReleaseFile.h"
#include "runtime/RuntimeTrace.h"
#include "runtime/VendorKeys.h"

// Runtimes registered by today's OpenJDK distributors, read in the same
// registry view as the classic vendor keys, first for the machine and then
// for the current user. Nothing is written.

namespace {

// Where one distributor key is read from.
struct KeySource {
    HKEY root;
    RegistryView view;
    int distributor;
};

bool OpenKey(HKEY root, const String& path, RegistryView view, UniqueRegKey& key)
{
    return RegOpenKeyExW(root, path.CStr(), 0, AccessFor(view), key.put()) == ERROR_SUCCESS;
}

// The current user's part of the registry is the same for both machine
// types, so a runtime found there belongs to the pass whose machine type its
// JVM library has. An image that cannot be recognised stays with the pass
// over the launcher's own view, like a runtime of the machine's keys.
bool BelongsToPass(const String& library, RegistryView view)
{
    WORD passMachine = view == RegistryView::Force64 ? IMAGE_FILE_MACHINE_AMD64 : kLauncherMachine;
    PeImageView image(library);
    if (!image.IsValid())
        return view == RegistryView::Default;
    return image.Machine() == passMachine;
}

const wchar_t* RootName(HKEY root)
{
    return root == HKEY_CURRENT_USER ? L"HKCU" : L"HKLM";
}

class DistributorCollector {
public:
    DistributorCollector(const LauncherApp& app, RuntimeList& list) : m_app(app), m_list(list), m_filter(FilterOf(app))
    {
    }

    void Collect(const KeySource& source)
    {
        const DistributorKey& distributor = GetDistributorKey(source.distributor);
        m_provider = DistributorProvider(source.distributor, m_filter);
        if (distributor.layout == DistributorLayout::VersionedMsi &&
            !IsRuntimeAdmitted(distributor.kind, m_provider, m_filter))
            return;
        String path(distributor.path);
        UniqueRegKey key;
        if (!OpenKey(source.root, path, source.view, key))
            return;
        StringList names = ReadSubkeyNames(key.get());
        key.reset();
        for (const String& name : names) {
            String subkey = path + L'\\' + name;
            if (distributor.layout == DistributorLayout::VersionedMsi)
                CollectVersion(source, subkey, name, distributor.kind);
            else
                CollectInstallation(source, subkey, name, true);
        }
    }

private:
    // <version>: the MSI's "Path" below it, else its "JavaHome".
    void CollectVersion(const KeySource& source, const String& path, const String& name, RuntimeKind kind)
    {
        static const wchar_t* const kMsiKeys[] = {L"\\hotspot\\MSI", L"\\openj9\\MSI"};
        String home;
        bool found = false;
        for (const wchar_t* msi : kMsiKeys) {
            UniqueRegKey key;
            if (OpenKey(source.root, path + msi, source.view, key) && ReadRegistryText(key.get(), L"Path", home)) {
                found = true;
                break;
            }
        }
        if (!found) {
            UniqueRegKey key;
            found = OpenKey(source.root, path, source.view, key) && ReadRegistryText(key.get(), L"JavaHome", home);
        }
        JL_TRACE_IF(!found, "registry candidate %s\\%s: no \"Path\" below hotspot\\MSI or openj9\\MSI, no \"JavaHome\": refused",
                    RootName(source.root), path.CStr());
        if (!found)
            return;
        // The release file knows the version as the classic keys write it
        // (1.8.0_382 where the key says 8.0.382.5); the name is a fallback.
        JavaVersion version;
        if (!ReadReleaseVersion(WithBackslash(home), version))
            ParseDistributorVersionName(name, version);
        Add(source, home, version, kind);
    }

    // <name> holding "InstallationPath" or "JavaHome"; when it holds neither,
    // each of its own subkeys in the same way.
    void CollectInstallation(const KeySource& source, const String& path, const String& name, bool descend)
    {
        String home;
        UniqueRegKey key;
        if (!OpenKey(source.root, path, source.view, key))
            return;
        if (ReadRegistryText(key.get(), L"InstallationPath", home) || ReadRegistryText(key.get(), L"JavaHome", home)) {
            key.reset();
            home = WithBackslash(home);
            // The release file knows the full version; the name is a fallback.
            JavaVersion version;
            if (!ReadReleaseVersion(home, version))
                ParseVersion(name, 0, version);
            RuntimeKind kind = PathExists(home + L"bin\\javac.exe") ? RuntimeKind::Jdk : RuntimeKind::Jre;
            if (IsRuntimeAdmitted(kind, m_provider, m_filter))
                Add(source, home, version, kind);
            return;
        }
        if (!descend)
            return;
        StringList names = ReadSubkeyNames(key.get());
        key.reset();
        for (const String& child : names)
            CollectInstallation(source, path + L'\\' + child, child, false);
    }

    void Add(const KeySource& source, const String& registeredHome, const JavaVersion& version, RuntimeKind kind)
    {
        const VersionRequirement& requirement = m_app.m_versionRequirement;
        JavaRuntime runtime;
        runtime.version = version;
        runtime.home = WithBackslash(registeredHome);
        JL_TRACE("registry candidate %s\\%s (%s): version %s, home %s", RootName(source.root),
                 GetDistributorKey(source.distributor).path, RegistryViewName(source.view),
                 VersionText(version).CStr(), runtime.home.CStr());
        if (!IsInVersionWindow(version, requirement.minimum, requirement.maximum)) {
            JL_TRACE("registry candidate %s: outside the version window: refused", runtime.home.CStr());
            return;
        }
        if (m_app.RefusesForMainModule(version, String(L"registry candidate ") + runtime.home))
            return;
        String library = FindJvmLibrary(runtime.home, m_app.m_jvmType, runtime.isServer);
        if (library.IsEmpty())
            return;
        if (source.root == HKEY_CURRENT_USER && !BelongsToPass(library, source.view)) {
            JL_TRACE("registry candidate %s: built for the other machine type: left to that pass", runtime.home.CStr());
            return;
        }
        runtime.favored = IsRuntimeFavored(kind, m_provider, m_filter);
        JL_TRACE("registry candidate %s: accepted%s", runtime.home.CStr(), runtime.favored ? L", favoured" : L"");
        m_list.Append(static_cast<JavaRuntime&&>(runtime));
    }

    static String WithBackslash(const String& home)
    {
        return home.Last() == L'\\' ? home : home + L'\\';
    }

    const LauncherApp& m_app;
    RuntimeList& m_list;
    RuntimeFilter m_filter;
    RuntimeProvider m_provider = RuntimeProvider::Sun;
};

}  // namespace

void LauncherApp::CollectDistributorCandidates(RegistryView view, RuntimeList& list) const
{
    static const HKEY kRoots[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};
    DistributorCollector collector(*this, list);
    for (HKEY root : kRoots)
        for (int distributor = 0; distributor < kDistributorKeyCount; ++distributor)
            collector.Collect({root, view, distributor});
}
