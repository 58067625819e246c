#include "support/harness/Harness.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::wstring> SplitKeyPath(const std::wstring& path)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos)
            end = path.size();
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

bool KeyExists(HKEY root, const std::wstring& path, REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Deletes parent\name and everything below it, staying in the given registry view.
void DeleteTree(HKEY parent, const std::wstring& name, REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ | DELETE | view, &key) == ERROR_SUCCESS) {
        std::vector<std::wstring> children;
        wchar_t childName[256];
        for (DWORD index = 0;; ++index) {
            DWORD length = 256;
            if (RegEnumKeyExW(key, index, childName, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            children.emplace_back(childName, length);
        }
        for (const std::wstring& child : children)
            DeleteTree(key, child, view);
        RegCloseKey(key);
    }
    RegDeleteKeyExW(parent, name.c_str(), view, 0);
}

}  // namespace

ScopedRegKey::ScopedRegKey(HKEY root, std::wstring subkey, REGSAM view)
    : m_root(root), m_subkey(std::move(subkey)), m_view(view)
{
    // The highest missing key on the way down is the one to delete afterwards.
    std::wstring prefix;
    for (const std::wstring& part : SplitKeyPath(m_subkey)) {
        prefix += (prefix.empty() ? L"" : L"\\") + part;
        if (!KeyExists(m_root, prefix, m_view)) {
            m_createdTop = prefix;
            break;
        }
    }
    LSTATUS status = RegCreateKeyExW(m_root, m_subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | m_view, nullptr,
                                     &m_key, nullptr);
    if (status != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create a registry key (error " << status << ")";
        m_key = nullptr;
    }
}

ScopedRegKey::~ScopedRegKey()
{
    if (m_key) {
        if (m_createdTop.empty()) {
            for (const std::wstring& name : m_valuesSet)
                RegDeleteValueW(m_key, name.c_str());
        }
        RegCloseKey(m_key);
    }
    if (m_createdTop.empty())
        return;
    size_t slash = m_createdTop.rfind(L'\\');
    if (slash == std::wstring::npos) {
        DeleteTree(m_root, m_createdTop, m_view);
        return;
    }
    HKEY parent = nullptr;
    if (RegOpenKeyExW(m_root, m_createdTop.substr(0, slash).c_str(), 0, KEY_READ | DELETE | m_view, &parent) ==
        ERROR_SUCCESS) {
        DeleteTree(parent, m_createdTop.substr(slash + 1), m_view);
        RegCloseKey(parent);
    }
    EXPECT_FALSE(KeyExists(m_root, m_createdTop, m_view)) << "a test registry key was left behind";
}

void ScopedRegKey::SetString(const std::wstring& name, const std::wstring& value)
{
    SetRaw(name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void ScopedRegKey::SetRaw(const std::wstring& name, DWORD type, const void* data, DWORD bytes)
{
    if (!m_key)
        return;
    LSTATUS status = RegSetValueExW(m_key, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes);
    EXPECT_EQ(status, ERROR_SUCCESS) << "cannot set a registry value";
    m_valuesSet.push_back(name);
}
