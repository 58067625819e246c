#include "LauncherResources.h"

#include "FileBytes.h"

#include "base/UniqueResource.h"
#include "res/resource.h"

namespace {

struct Listing {
    HMODULE module;
    std::vector<StoredResource>* resources;
    bool complete;
};

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR param)
{
    Listing& listing = *reinterpret_cast<Listing*>(param);
    HRSRC found = FindResourceExW(listing.module, type, name, language);
    HGLOBAL loaded = found ? LoadResource(listing.module, found) : nullptr;
    const uint8_t* data = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    if (!data) {
        listing.complete = false;
        return FALSE;
    }
    StoredResource resource;
    resource.type = ResourceName::From(type);
    resource.name = ResourceName::From(name);
    resource.language = language;
    resource.data.assign(data, data + SizeofResource(listing.module, found));
    listing.resources->push_back(static_cast<StoredResource&&>(resource));
    return TRUE;
}

BOOL CALLBACK AddName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param)
{
    EnumResourceLanguagesW(module, type, name, AddLanguage, param);
    return reinterpret_cast<Listing*>(param)->complete;
}

BOOL CALLBACK AddType(HMODULE module, LPWSTR type, LONG_PTR param)
{
    EnumResourceNamesW(module, type, AddName, param);
    return reinterpret_cast<Listing*>(param)->complete;
}

bool HasString(HMODULE module, UINT id)
{
    const wchar_t* text = nullptr;  // read-only pointer into the resource, no copy
    return LoadStringW(module, id, reinterpret_cast<wchar_t*>(&text), 0) > 0;
}

// The launcher's marker: its two dialogs and the first and last entries of its
// string table.
bool IsLauncher(HMODULE module)
{
    return FindResourceW(module, MAKEINTRESOURCEW(IDD_RUNTIME_NOT_FOUND), RT_DIALOG) &&
           FindResourceW(module, MAKEINTRESOURCEW(IDD_EXCEPTION), RT_DIALOG) &&
           HasString(module, IDS_WINDOWS_ERROR) && HasString(module, IDS_JNI_EINVAL);
}

}  // namespace

ResourceName ResourceName::From(LPCWSTR name)
{
    ResourceName result;
    if (IS_INTRESOURCE(name))
        result.id = LOWORD(name);
    else
        result.text = name;
    return result;
}

bool ReadLauncherResources(const std::wstring& path, LauncherResources& resources, std::wstring& error)
{
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        DWORD code = GetLastError();
        error = SystemError(L"cannot open " + path, code);
        return false;
    }
    UniqueModule module(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module) {
        error = path + L" is not a Windows executable";
        return false;
    }
    if (!IsLauncher(module.get())) {
        error = path + L" is not a jlaunch launcher (it lacks the launcher's dialogs and messages)";
        return false;
    }
    resources = LauncherResources();
    Listing listing = {module.get(), &resources.all, true};
    EnumResourceTypesW(module.get(), AddType, reinterpret_cast<LONG_PTR>(&listing));
    if (!listing.complete) {
        error = L"cannot read the resources of " + path;
        return false;
    }
    resources.iconGroup.id = 1;
    resources.language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    bool haveGroup = false, haveVersion = false;
    for (const StoredResource& resource : resources.all) {
        if (!haveGroup && resource.type.Is(RT_GROUP_ICON)) {
            resources.iconGroup = resource.name;
            resources.iconLanguage = resource.language;
            haveGroup = true;
        }
        if (!haveVersion && resource.type.Is(RT_VERSION)) {
            resources.language = resource.language;
            haveVersion = true;
        }
    }
    if (!haveGroup)
        resources.iconLanguage = resources.language;
    return true;
}
