#pragma once

// The registry keys where Java vendors register their runtimes, and which of
// them a search reads. No Windows calls here.
//
// Two groups: the classic vendor keys under HKEY_LOCAL_MACHINE, and the keys
// that today's OpenJDK distributors write, under HKEY_LOCAL_MACHINE and, for
// per-user installs, HKEY_CURRENT_USER. The second group is read only where
// the first one yields no runtime.

#include "base/Text.h"
#include "runtime/Version.h"

enum class RuntimeKind { Jdk, Jre };
enum class RuntimeProvider { Sun, JRockit, Ibm };

struct VendorKey {
    const wchar_t* path;     // below HKEY_LOCAL_MACHINE, no trailing backslash
    RuntimeKind kind;
    RuntimeProvider provider;
    bool jreSubfolder;       // the registered home holds the runtime in "jre\"
    bool clientFirst;        // favor_server is tested as "any" for this key
};

constexpr int kVendorKeyCount = 7;

// index 0 .. kVendorKeyCount - 1, in search order.
const VendorKey& GetVendorKey(int index);

// How a distributor key names its runtimes.
enum class DistributorLayout {
    // One subkey per version ("17.0.9.9"). The home is the value "Path" of its
    // subkey "hotspot\MSI" or "openj9\MSI", else its own value "JavaHome".
    VersionedMsi,
    // One subkey per installation ("zulu-17"), holding "InstallationPath" or
    // "JavaHome"; where it holds neither, its own subkeys are looked at. The
    // kind is read from the home: a JDK has "bin\javac.exe".
    Installation,
};

struct DistributorKey {
    const wchar_t* path;  // below the root key, no trailing backslash
    DistributorLayout layout;
    RuntimeKind kind;     // VersionedMsi only
    RuntimeProvider provider;
};

constexpr int kDistributorKeyCount = 11;

// index 0 .. kDistributorKeyCount - 1, in search order.
const DistributorKey& GetDistributorKey(int index);

// The "JVM Source" and "VM Provider" flags of the launch.
struct RuntimeFilter {
    bool jdkFirst = false;
    bool jreFirst = false;
    bool allowOtherKind = true;
    bool allowJRockit = false;
    bool allowSun = true;
    bool allowIbm = false;
    bool preferJRockit = false;
    bool preferSun = true;
    bool preferIbm = false;
};

// A runtime of this kind and provider may be chosen: its kind is admitted
// (both kinds, or its kind first) and its provider is allowed or favoured.
bool IsRuntimeAdmitted(RuntimeKind kind, RuntimeProvider provider, const RuntimeFilter& filter);
// Its kind is first and its provider favoured.
bool IsRuntimeFavored(RuntimeKind kind, RuntimeProvider provider, const RuntimeFilter& filter);

// The provider a distributor key counts as. OpenJ9 builds count as IBM
// runtimes where IBM runtimes are allowed or favoured; where they are not
// (the default, which names only the reference family), they count with the
// HotSpot builds, so that a default search finds them too.
RuntimeProvider DistributorProvider(int index, const RuntimeFilter& filter);

// A key is read when its kind is admitted (both kinds, or its kind first) and
// its provider is allowed or favoured.
bool IsVendorKeySearched(int index, const RuntimeFilter& filter);
// Runtimes of a key are favoured when both its kind and its provider are.
bool IsVendorKeyFavored(int index, const RuntimeFilter& filter);

// The version a distributor's version key stands for. Up to Java 8 these
// installers name the key after the product ("8.0.382.5": Java 8, update 382,
// build 5), where the classic keys and the release file say 1.8.0_382; that
// name counts as 1.8.0.382. From Java 9 on the name is the version. False,
// with version all zero, for a name without digits.
bool ParseDistributorVersionName(const String& name, JavaVersion& version);
