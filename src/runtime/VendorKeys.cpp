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

bool IsVendorKeySearched(int index, const RuntimeFilter& filter)
{
    const VendorKey& key = GetVendorKey(index);
    bool kindAdmitted = filter.allowOtherKind || IsKindFirst(key.kind, filter);
    bool providerAdmitted = IsProviderAllowed(key.provider, filter) || IsProviderFavored(key.provider, filter);
    return kindAdmitted && providerAdmitted;
}

bool IsVendorKeyFavored(int index, const RuntimeFilter& filter)
{
    const VendorKey& key = GetVendorKey(index);
    return IsKindFirst(key.kind, filter) && IsProviderFavored(key.provider, filter);
}
