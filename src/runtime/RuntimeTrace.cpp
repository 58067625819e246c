#include "runtime/RuntimeTrace.h"

#include "base/ResourceText.h"

namespace {

const wchar_t* NotSetOr(const String& value)
{
    return value.IsEmpty() ? L"not set" : value.CStr();
}

const wchar_t* ProviderState(bool allowed, bool favoured)
{
    return favoured ? L"favoured" : allowed ? L"allowed" : L"not admitted";
}

const wchar_t* ProviderName(RuntimeProvider provider)
{
    switch (provider) {
    case RuntimeProvider::Sun:
        return L"Sun";
    case RuntimeProvider::JRockit:
        return L"JRockit";
    case RuntimeProvider::Ibm:
        return L"IBM";
    }
    return L"?";
}

}  // namespace

String VersionText(const JavaVersion& version)
{
    return FormatText(L"%d.%d.%d.%d", version.component[0], version.component[1], version.component[2],
                      version.component[3]);
}

const wchar_t* RegistryViewName(RegistryView view)
{
    if (view == RegistryView::Force64)
        return L"64-bit view";
    return sizeof(void*) == 4 ? L"32-bit view" : L"64-bit view";
}

const wchar_t* JvmTypeName(JvmType type)
{
    switch (type) {
    case JvmType::Server:
        return L"server";
    case JvmType::FavorServer:
        return L"favor_server";
    default:
        return L"any";
    }
}

const wchar_t* MachineName(WORD machine)
{
    switch (machine) {
    case IMAGE_FILE_MACHINE_I386:
        return L"x86 (32-bit)";
    case IMAGE_FILE_MACHINE_AMD64:
        return L"x64 (64-bit)";
    case 0xAA64:
        return L"ARM64";
    default:
        return L"another machine";
    }
}

void TraceRuntimeSettings(const LauncherApp& app)
{
    const VersionRequirement& versions = app.m_versionRequirement;
    TraceLine("runtime settings: Minimum Version %s%s, Maximum Version %s%s", VersionText(versions.minimum).CStr(),
              versions.minimum.count ? L"" : L" (no version given)", VersionText(versions.maximum).CStr(),
              versions.maximum.count ? L"" : L" (no version given: no upper limit)");
    String preferred;
    for (const String& text : app.m_preferredVersions) {
        preferred.Append(preferred.IsEmpty() ? L"\"" : L", \"");
        preferred.Append(text);
        preferred.Append(L'"');
    }
    TraceLine("runtime settings: Preferred versions %s, JVM Type %s", NotSetOr(preferred), JvmTypeName(app.m_jvmType));
    TraceLine("runtime settings: JVM Source: JDK keys %s, JRE keys %s, favoured kind%s%s%s",
              app.m_allowOtherKind || app.m_jdkFirst ? L"searched" : L"not searched",
              app.m_allowOtherKind || app.m_jreFirst ? L"searched" : L"not searched",
              app.m_jdkFirst ? L" JDK" : L"", app.m_jreFirst ? L" JRE" : L"",
              app.m_jdkFirst || app.m_jreFirst ? L"" : L" none");
    TraceLine("runtime settings: VM Provider: Sun %s, JRockit %s, IBM %s", ProviderState(app.m_allowSun, app.m_preferSun),
              ProviderState(app.m_allowJRockit, app.m_preferJRockit), ProviderState(app.m_allowIbm, app.m_preferIbm));
    TraceLine("runtime settings: JRE Path %s, Pair Product %s", NotSetOr(app.m_jrePath), NotSetOr(app.m_pairProduct));
    if (!app.m_mainModule.IsEmpty())
        TraceLine("runtime settings: Main Module %s: runtimes before 9 are refused", app.m_mainModule.CStr());
}

void TraceVendorKeysNotSearched(const RuntimeFilter& filter)
{
    RuntimeFilter anyProvider = filter;
    anyProvider.allowJRockit = anyProvider.allowSun = anyProvider.allowIbm = true;
    for (int index = 0; index < kVendorKeyCount; ++index) {
        if (IsVendorKeySearched(index, filter))
            continue;
        const VendorKey& key = GetVendorKey(index);
        if (IsVendorKeySearched(index, anyProvider))
            TraceLine("registry key HKLM\\%s: not searched, \"VM Provider\" does not admit %s runtimes", key.path,
                      ProviderName(key.provider));
        else
            TraceLine("registry key HKLM\\%s: not searched, \"JVM Source\" does not admit %s keys", key.path,
                      key.kind == RuntimeKind::Jdk ? L"JDK" : L"JRE");
    }
}

void TraceCandidateChoice(const RuntimeList& sorted, int chosen, const StringList& preferredVersions)
{
    for (int i = 0; i < sorted.Count(); ++i)
        TraceLine("registry rank %d: version %s, home %s%s%s", i + 1, VersionText(sorted[i].version).CStr(),
                  sorted[i].home.CStr(), sorted[i].favored ? L", favoured" : L"",
                  sorted[i].isServer ? L", server VM" : L"");
    // Which preferred version text made the choice, if any.
    const wchar_t* reason = L"ranked first; no \"Preferred versions\" text matches";
    String matched;
    for (const String& text : preferredVersions) {
        JavaVersion preferred;
        ParseVersion(text, 0, preferred);
        int first = -1;
        for (int i = 0; i < sorted.Count() && first < 0; ++i)
            if (MatchesPreferred(sorted[i].version, preferred))
                first = i;
        if (first >= 0) {
            matched = FormatText(L"first to match the preferred version \"%s\"", text.CStr());
            reason = matched.CStr();
            break;
        }
    }
    if (preferredVersions.IsEmpty())
        reason = L"ranked first";
    if (chosen >= 0 && chosen < sorted.Count())
        TraceLine("registry runtime taken: version %s, home %s (%s)", VersionText(sorted[chosen].version).CStr(),
                  sorted[chosen].home.CStr(), reason);
}
