#include "settings/EmbeddedSettings.h"

#include "res/resource.h"

#include <windows.h>

String DecodeEmbeddedSettings(const void* data, size_t size)
{
    String text;
    if (!data)
        return text;
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    size_t units = size / 2;
    if (units > 0x3FFFFFFE)
        units = 0x3FFFFFFE;
    // Resource data need not be aligned for wchar_t, so the units are put
    // together byte by byte.
    for (size_t i = 0; i < units; ++i) {
        wchar_t c = static_cast<wchar_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        if (c == 0)
            break;
        text.Append(c);
    }
    return text;
}

String LoadEmbeddedSettingsText()
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, JL_EMBEDDED_SETTINGS_NAME, RT_RCDATA);
    if (!resource)
        return String();
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    DWORD size = SizeofResource(module, resource);
    return DecodeEmbeddedSettings(data, size);
}
