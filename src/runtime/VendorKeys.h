#pragma once

// The registry keys under HKEY_LOCAL_MACHINE where Java vendors register
// their runtimes, and which of them a search reads. No Windows calls here.

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

// A key is read when its kind is admitted (both kinds, or its kind first) and
// its provider is allowed or favoured.
bool IsVendorKeySearched(int index, const RuntimeFilter& filter);
// Runtimes of a key are favoured when both its kind and its provider are.
bool IsVendorKeyFavored(int index, const RuntimeFilter& filter);
