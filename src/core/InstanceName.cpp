#include "core/SingleInstance.h"

#include "base/Fnv1a.h"

// The names are a fixed-length hash of the executable's identity: a name
// stays short whatever the path's length (a registered message name may not
// exceed 255 characters), and every spelling of one executable's path gives
// the same identity, so the same names.
String InstanceObjectName(const String& identity, const wchar_t* suffix)
{
    Fnv1a hash;
    hash.AddUnits(identity);
    String name(L"jlaunch_");
    AppendHex16(name, hash.Value(), true);
    name += suffix;
    return name;
}
