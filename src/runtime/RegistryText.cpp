#include "runtime/RegistryText.h"

bool ReadRegistryText(HKEY key, const wchar_t* valueName, String& text)
{
    text.Clear();
    DWORD size = 0;
    if (RegQueryValueExW(key, valueName, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS || size == 0)
        return false;
    if (size > 0x7FFFFFF0)
        return false;
    // Room for the data plus one zero character, all zeroed, so that no read
    // of the buffer can run past what was allocated.
    int capacity = static_cast<int>(size / 2 + 1);
    wchar_t* buffer = text.GetBuffer(capacity);
    for (int i = 0; i <= capacity; ++i)
        buffer[i] = 0;
    DWORD read = size;
    LSTATUS status = RegQueryValueExW(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &read);
    if (status != ERROR_SUCCESS || read > size) {
        text.SetLength(0);
        return false;
    }
    int characters = static_cast<int>(read / 2);
    int length = 0;
    while (length < characters && buffer[length] != 0)
        ++length;
    text.SetLength(length);
    return length > 0;
}

StringList ReadSubkeyNames(HKEY key)
{
    // The longest registry key name is 255 characters.
    constexpr DWORD kNameCapacity = 256;
    StringList names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[kNameCapacity];
        DWORD length = kNameCapacity;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.Append(String(name, length < kNameCapacity ? static_cast<int>(length) : 0));
    }
    return names;
}
