#include "runtime/VendorKeys.h"

#include "base/FatalError.h"

namespace {

const VendorKey kVendorKeys[kVendorKeyCount] = {
    {L"Software\\JavaSoft\\JDK", RuntimeKind::Jdk, RuntimeProvider::Sun, false, false},
    {L"Software\\JavaSoft\\JRE", RuntimeKind::Jre, RuntimeProvider::Sun, false, false},
    {L"Software\\JavaSoft\\Java Development Kit", RuntimeKind::Jdk, RuntimeProvider::Sun, true, false},
    {L"Software\\JavaSoft\\Java Runtime Environment", RuntimeKind::Jre, RuntimeProvider::Sun, false, true},
    {L"Software\\JRockit\\Java Runtime Environment", RuntimeKind::Jre, RuntimeProvider::JRockit, false, false},
    {L"Software\\JRockit\\Java Development Kit", RuntimeKind::Jdk, RuntimeProvider::JRockit, true, false},
    {L"Software\\IBM\\Java2 Runtime Environment", RuntimeKind::Jre, RuntimeProvider::Ibm, false, false},
};

const DistributorKey kDistributorKeys[kDistributorKeyCount] = {
    {L"Software\\Eclipse Adoptium\\JDK", DistributorLayout::VersionedMsi, RuntimeKind::Jdk, RuntimeProvider::Sun},
    {L"Software\\Eclipse Adoptium\\JRE", DistributorLayout::VersionedMsi, RuntimeKind::Jre, RuntimeProvider::Sun},
    {L"Software\\AdoptOpenJDK\\JDK", DistributorLayout::VersionedMsi, RuntimeKind::Jdk, RuntimeProvider::Sun},
    {L"Software\\AdoptOpenJDK\\JRE", DistributorLayout::VersionedMsi, RuntimeKind::Jre, RuntimeProvider::Sun},
    {L"Software\\Eclipse Foundation\\JDK", DistributorLayout::VersionedMsi, RuntimeKind::Jdk, RuntimeProvider::Sun},
    {L"Software\\Microsoft\\JDK", DistributorLayout::VersionedMsi, RuntimeKind::Jdk, RuntimeProvider::Sun},
    {L"Software\\Semeru\\JDK", DistributorLayout::VersionedMsi, RuntimeKind::Jdk, RuntimeProvider::Ibm},
    {L"Software\\Semeru\\JRE", DistributorLayout::VersionedMsi, RuntimeKind::Jre, RuntimeProvider::Ibm},
    {L"Software\\Azul Systems\\Zulu", DistributorLayout::Installation, RuntimeKind::Jdk, RuntimeProvider::Sun},
    {L"Software\\BellSoft\\Liberica", DistributorLayout::Installation, RuntimeKind::Jdk, RuntimeProvider::Sun},
    {L"Software\\Amazon Corretto", DistributorLayout::Installation, RuntimeKind::Jdk, RuntimeProvider::Sun},
};

bool IsKindFirst(RuntimeKind kind, const RuntimeFilter& filter)
{
    return kind == RuntimeKind::Jdk ? filter.jdkFirst : filter.jreFirst;
}

bool IsProviderAllowed(RuntimeProvider provider, const RuntimeFilter& filter)
{
    switch (provider) {
    case RuntimeProvider::Sun:
        return filter.allowSun;
    case RuntimeProvider::JRockit:
        return filter.allowJRockit;
    case RuntimeProvider::Ibm:
        return filter.allowIbm;
    }
    return false;
}

bool IsProviderFavored(RuntimeProvider provider, const RuntimeFilter& filter)
{
    switch (provider) {
    case RuntimeProvider::Sun:
        return filter.preferSun;
    case RuntimeProvider::JRockit:
        return filter.preferJRockit;
    case RuntimeProvider::Ibm:
        return filter.preferIbm;
    }
    return false;
}

}  // namespace

const VendorKey& GetVendorKey(int index)
{
    if (index < 0 || index >= kVendorKeyCount)
        RaiseFatalError(kFatalBounds);
    return kVendorKeys[index];
}

const DistributorKey& GetDistributorKey(int index)
{
    if (index < 0 || index >= kDistributorKeyCount)
        RaiseFatalError(kFatalBounds);
    return kDistributorKeys[index];
}

bool IsRuntimeAdmitted(RuntimeKind kind, RuntimeProvider provider, const RuntimeFilter& filter)
{
    bool kindAdmitted = filter.allowOtherKind || IsKindFirst(kind, filter);
    bool providerAdmitted = IsProviderAllowed(provider, filter) || IsProviderFavored(provider, filter);
    return kindAdmitted && providerAdmitted;
}

bool IsRuntimeFavored(RuntimeKind kind, RuntimeProvider provider, const RuntimeFilter& filter)
{
    return IsKindFirst(kind, filter) && IsProviderFavored(provider, filter);
}

RuntimeProvider DistributorProvider(int index, const RuntimeFilter& filter)
{
    RuntimeProvider provider = GetDistributorKey(index).provider;
    if (provider == RuntimeProvider::Ibm && !filter.allowIbm && !filter.preferIbm)
        return RuntimeProvider::Sun;
    return provider;
}

bool IsVendorKeySearched(int index, const RuntimeFilter& filter)
{
    const VendorKey& key = GetVendorKey(index);
    return IsRuntimeAdmitted(key.kind, key.provider, filter);
}

bool IsVendorKeyFavored(int index, const RuntimeFilter& filter)
{
    const VendorKey& key = GetVendorKey(index);
    return IsRuntimeFavored(key.kind, key.provider, filter);
}

bool ParseDistributorVersionName(const String& name, JavaVersion& version)
{
    if (!ParseVersion(name, 0, version))
        return false;
    // Java 2 to 8 in the product's own numbering: N.0.update.build.
    int32_t* c = version.component;
    if (c[0] >= 2 && c[0] <= 8 && c[1] == 0) {
        c[3] = c[2];
        c[2] = 0;
        c[1] = c[0];
        c[0] = 1;
    }
    return true;
}
