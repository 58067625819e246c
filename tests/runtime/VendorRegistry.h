#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace runtime_test {

// The vendor keys as literal paths below HKEY_LOCAL_MACHINE.
extern const wchar_t kJdkKey[];             // Software\JavaSoft\JDK
extern const wchar_t kJreKey[];             // Software\JavaSoft\JRE
extern const wchar_t kDevelopmentKitKey[];  // Software\JavaSoft\Java Development Kit
extern const wchar_t kRuntimeKey[];         // Software\JavaSoft\Java Runtime Environment
extern const wchar_t kJRockitJreKey[];      // Software\JRockit\Java Runtime Environment
extern const wchar_t kJRockitJdkKey[];      // Software\JRockit\Java Development Kit
extern const wchar_t kIbmKey[];             // Software\IBM\Java2 Runtime Environment

// Runtime registrations under HKEY_LOCAL_MACHINE (or HKEY_CURRENT_USER) in an
// explicit registry view (KEY_WOW64_32KEY or KEY_WOW64_64KEY). Every key it
// creates is deleted again, newest first, when it is destroyed.
class VendorRegistry {
public:
    VendorRegistry() = default;
    ~VendorRegistry();
    VendorRegistry(const VendorRegistry&) = delete;
    VendorRegistry& operator=(const VendorRegistry&) = delete;

    // <vendorKey>\<version> with "JavaHome" = javaHome (REG_SZ with its NUL).
    void Register(REGSAM view, const std::wstring& vendorKey, const std::wstring& version,
                  const std::wstring& javaHome);
    // <vendorKey>\<version> with "JavaHome" holding exactly these bytes; no
    // value at all when data is null.
    void RegisterRaw(REGSAM view, const std::wstring& vendorKey, const std::wstring& version, DWORD type,
                     const void* data, DWORD bytes);
    // <path> with the text value name = text (REG_SZ with its NUL), below root.
    void SetText(HKEY root, REGSAM view, const std::wstring& path, const std::wstring& name,
                 const std::wstring& text);
    // Deletes what was created so far.
    void Clear();

private:
    struct Created {
        HKEY root;
        REGSAM view;
        std::wstring path;
    };
    HKEY Create(HKEY root, REGSAM view, const std::wstring& path);
    std::vector<Created> m_created;
};

// Every key and value below the vendor roots (JavaSoft, JRockit, IBM and the
// OpenJDK distributors) of HKEY_LOCAL_MACHINE in both registry views and of
// HKEY_CURRENT_USER, as "root view|path[|value]" -> type and data.
std::map<std::wstring, std::wstring> SnapshotVendorKeys();

}  // namespace runtime_test
