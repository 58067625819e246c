#include "VendorRegistry.h"

#include <gtest/gtest.h>

namespace runtime_test {

const wchar_t kJdkKey[] = L"Software\\JavaSoft\\JDK";
const wchar_t kJreKey[] = L"Software\\JavaSoft\\JRE";
const wchar_t kDevelopmentKitKey[] = L"Software\\JavaSoft\\Java Development Kit";
const wchar_t kRuntimeKey[] = L"Software\\JavaSoft\\Java Runtime Environment";
const wchar_t kJRockitJreKey[] = L"Software\\JRockit\\Java Runtime Environment";
const wchar_t kJRockitJdkKey[] = L"Software\\JRockit\\Java Development Kit";
const wchar_t kIbmKey[] = L"Software\\IBM\\Java2 Runtime Environment";

namespace {

void Snapshot(HKEY root, REGSAM view, const std::wstring& path, std::map<std::wstring, std::wstring>& out)
{
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return;
    std::wstring prefix = std::wstring(root == HKEY_CURRENT_USER ? L"HKCU " : L"HKLM ") +
                          (view == KEY_WOW64_64KEY ? L"64|" : L"32|") + path;
    out[prefix] = L"";
    DWORD maxName = 0, maxData = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, &maxData,
                     nullptr, nullptr);
    std::vector<BYTE> data(maxData + 1);
    std::vector<wchar_t> name(maxName + 2);
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(data.size());
        if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            break;
        std::wstring text = std::to_wstring(type) + L":";
        for (DWORD b = 0; b < size; ++b)
            text += static_cast<wchar_t>(L'A' + (data[b] >> 4)), text += static_cast<wchar_t>(L'A' + (data[b] & 15));
        out[prefix + L"|" + std::wstring(name.data(), nameLength)] = text;
    }
    std::vector<std::wstring> children;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        children.emplace_back(name, nameLength);
    }
    RegCloseKey(key);
    for (const std::wstring& child : children)
        Snapshot(root, view, path + L"\\" + child, out);
}

}  // namespace

VendorRegistry::~VendorRegistry()
{
    Clear();
}

void VendorRegistry::Clear()
{
    while (!m_created.empty()) {
        const auto& created = m_created.back();
        LSTATUS status = RegDeleteKeyExW(created.root, created.path.c_str(), created.view, 0);
        EXPECT_EQ(status, ERROR_SUCCESS) << "cannot remove a test key";
        m_created.pop_back();
    }
}

HKEY VendorRegistry::Create(HKEY root, REGSAM view, const std::wstring& path)
{
    // One level at a time, so that every key this fixture made is known.
    HKEY key = nullptr;
    for (size_t slash = path.find(L'\\');; slash = path.find(L'\\', slash + 1)) {
        std::wstring part = path.substr(0, slash);
        DWORD disposition = 0;
        if (key)
            RegCloseKey(key);
        LSTATUS status = RegCreateKeyExW(root, part.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view,
                                         nullptr, &key, &disposition);
        if (status != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot create a test key";
            return nullptr;
        }
        if (disposition == REG_CREATED_NEW_KEY)
            m_created.push_back({root, view, part});
        if (slash == std::wstring::npos)
            return key;
    }
}

void VendorRegistry::Register(REGSAM view, const std::wstring& vendorKey, const std::wstring& version,
                              const std::wstring& javaHome)
{
    RegisterRaw(view, vendorKey, version, REG_SZ, javaHome.c_str(),
                static_cast<DWORD>((javaHome.size() + 1) * sizeof(wchar_t)));
}

void VendorRegistry::RegisterRaw(REGSAM view, const std::wstring& vendorKey, const std::wstring& version, DWORD type,
                                 const void* data, DWORD bytes)
{
    HKEY key = Create(HKEY_LOCAL_MACHINE, view, vendorKey + L"\\" + version);
    if (!key)
        return;
    if (data)
        EXPECT_EQ(RegSetValueExW(key, L"JavaHome", 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    RegCloseKey(key);
}

void VendorRegistry::SetText(HKEY root, REGSAM view, const std::wstring& path, const std::wstring& name,
                             const std::wstring& text)
{
    HKEY key = Create(root, view, path);
    if (!key)
        return;
    EXPECT_EQ(RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

std::map<std::wstring, std::wstring> SnapshotVendorKeys()
{
    static const wchar_t* const kRoots[] = {
        L"Software\\JavaSoft",           L"Software\\JRockit",       L"Software\\IBM",
        L"Software\\Eclipse Adoptium",   L"Software\\AdoptOpenJDK",  L"Software\\Eclipse Foundation",
        L"Software\\Microsoft\\JDK",     L"Software\\Semeru",        L"Software\\Azul Systems",
        L"Software\\BellSoft",           L"Software\\Amazon Corretto",
    };
    std::map<std::wstring, std::wstring> keys;
    for (const wchar_t* path : kRoots) {
        for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY})
            Snapshot(HKEY_LOCAL_MACHINE, view, path, keys);
        Snapshot(HKEY_CURRENT_USER, 0, path, keys);
    }
    return keys;
}

}  // namespace runtime_test
