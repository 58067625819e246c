#include "core/LauncherApp.h"
#include "runtime/CandidateRanking.h"
#include "runtime/JavaRuntime.h"
#include "runtime/JvmLibrary.h"
#include "runtime/RegistrySearchShared.h"
#include "runtime/RegistryText.h"
#include "runtime/RuntimeTrace.h"
#include "runtime/VendorKeys.h"

// The registry is only ever read here: keys are opened with read access.

REGSAM AccessFor(RegistryView view)
{
    return view == RegistryView::Force64 ? KEY_READ | KEY_WOW64_64KEY : KEY_READ;
}

RuntimeFilter FilterOf(const LauncherApp& app)
{
    RuntimeFilter filter;
    filter.jdkFirst = app.m_jdkFirst;
    filter.jreFirst = app.m_jreFirst;
    filter.allowOtherKind = app.m_allowOtherKind;
    filter.allowJRockit = app.m_allowJRockit;
    filter.allowSun = app.m_allowSun;
    filter.allowIbm = app.m_allowIbm;
    filter.preferJRockit = app.m_preferJRockit;
    filter.preferSun = app.m_preferSun;
    filter.preferIbm = app.m_preferIbm;
    return filter;
}

bool LauncherApp::SearchRegistry(RegistryView view, String& home)
{
    RuntimeFilter filter = FilterOf(*this);
    RuntimeList candidates;
    JL_TRACE("source registry, %s", RegistryViewName(view));
    JL_TRACE_CALL(TraceVendorKeysNotSearched(filter));
    for (int key = 0; key < kVendorKeyCount; ++key)
        if (IsVendorKeySearched(key, filter))
            CollectCandidates(key, view, candidates);
    // Today's distributors only where the classic keys offer nothing: an
    // application that found a runtime before keeps finding the same one.
    JL_TRACE_IF(candidates.IsEmpty() && !m_otherVendors,
                "registry, %s: the keys of other vendors are not searched (\"Other Vendors\" is no)",
                RegistryViewName(view));
    if (candidates.IsEmpty() && m_otherVendors)
        CollectDistributorCandidates(view, candidates);
    JL_TRACE_IF(candidates.IsEmpty(), "registry, %s: no acceptable runtime", RegistryViewName(view));
    if (!SelectCandidate(candidates, m_versionRequirement.working, home))
        return false;
    if (view == RegistryView::Force64)
        m_launchPair = true;
    JL_TRACE_IF(m_launchPair, "the runtime is in the 64-bit view: the launch goes to \"Pair Product\"");
    return true;
}

void LauncherApp::CollectCandidates(int vendorKey, RegistryView view, RuntimeList& list)
{
    const VendorKey& vendor = GetVendorKey(vendorKey);
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, vendor.path, 0, AccessFor(view), key.put()) != ERROR_SUCCESS) {
        JL_TRACE("registry key HKLM\\%s (%s): not present", vendor.path, RegistryViewName(view));
        return;
    }
    StringList names = ReadSubkeyNames(key.get());
    key.reset();
    JL_TRACE("registry key HKLM\\%s (%s): %d version subkeys", vendor.path, RegistryViewName(view), names.Count());

    bool favored = IsVendorKeyFavored(vendorKey, FilterOf(*this));
    for (const String& name : names) {
        JavaRuntime runtime;
        ParseVersion(name, 0, runtime.version);  // a name without digits is 0.0.0.0
        JL_TRACE("registry candidate HKLM\\%s\\%s: version %s%s", vendor.path, name.CStr(),
                 VersionText(runtime.version).CStr(),
                 IsInVersionWindow(runtime.version, m_versionRequirement.minimum, m_versionRequirement.maximum)
                     ? L""
                     : L", outside the version window: refused");
        if (!IsInVersionWindow(runtime.version, m_versionRequirement.minimum, m_versionRequirement.maximum))
            continue;
        if (RefusesForMainModule(runtime.version, String(L"registry candidate HKLM\\") + vendor.path + L'\\' + name))
            continue;
        if (!ReadRegistryCandidate(vendorKey, name, view, runtime.home, runtime.isServer))
            continue;
        runtime.favored = favored;
        JL_TRACE("registry candidate HKLM\\%s\\%s: accepted%s", vendor.path, name.CStr(),
                 favored ? L", favoured" : L"");
        list.Append(static_cast<JavaRuntime&&>(runtime));
    }
}

bool LauncherApp::ReadRegistryCandidate(int vendorKey, const String& subkeyName, RegistryView view, String& home,
                                        bool& isServer)
{
    const VendorKey& vendor = GetVendorKey(vendorKey);
    String path = String(vendor.path) + L'\\' + subkeyName;
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.CStr(), 0, AccessFor(view), key.put()) != ERROR_SUCCESS) {
        JL_TRACE("registry candidate HKLM\\%s: cannot be opened: refused", path.CStr());
        return false;
    }
    if (!ReadRegistryText(key.get(), L"JavaHome", home)) {
        JL_TRACE("registry candidate HKLM\\%s: no \"JavaHome\" text: refused", path.CStr());
        return false;
    }
    key.reset();

    if (home.Last() != L'\\')
        home += L'\\';
    if (vendor.jreSubfolder)
        home += L"jre\\";
    JL_TRACE("registry candidate HKLM\\%s: home %s", path.CStr(), home.CStr());
    JvmType type = m_jvmType;
    if (vendor.clientFirst && type == JvmType::FavorServer)
        type = JvmType::Any;
    return !FindJvmLibrary(home, type, isServer).IsEmpty();
}

void LauncherApp::SortCandidates(RuntimeList& list) const
{
    RankingRules rules;
    rules.favoredFirst = m_allowOtherKind;
    rules.serverFirst = m_jvmType == JvmType::FavorServer;
    SortRuntimes(list, rules);
}

bool LauncherApp::SelectCandidate(RuntimeList& list, JavaVersion& version, String& home) const
{
    if (list.IsEmpty())
        return false;
    SortCandidates(list);
    const JavaRuntime& chosen = list[ChooseRuntime(list, m_preferredVersions)];
    JL_TRACE_CALL(TraceCandidateChoice(list, static_cast<int>(&chosen - list.begin()), m_preferredVersions));
    version = chosen.version;
    home = chosen.home;
    return true;
}
