#include "LauncherResources.h"

#include "res/resource.h"

namespace {

bool HasResource(const std::vector<StoredResource>& all, uint16_t type, uint16_t name)
{
    for (const StoredResource& resource : all)
        if (resource.type.Is(type) && resource.name.Is(name))
            return true;
    return false;
}

// Whether the string table holds a text for id in some language: strings
// come in blocks of 16 (block id / 16 + 1), each a length and its units.
bool HasString(const std::vector<StoredResource>& all, unsigned id)
{
    for (const StoredResource& resource : all) {
        if (!resource.type.Is(kTypeString) || !resource.name.Is(static_cast<uint16_t>(id / 16 + 1)))
            continue;
        size_t at = 0;
        for (unsigned index = 0; index < 16; ++index) {
            uint16_t length = 0;
            if (!ReadU16(resource.data, at, length))
                break;
            if (index == id % 16) {
                if (length > 0)
                    return true;
                break;
            }
            at += 2 + 2 * size_t(length);
        }
    }
    return false;
}

// The launcher's marker: its two dialogs and the first and last entries of its
// string table.
bool IsLauncher(const std::vector<StoredResource>& all)
{
    return HasResource(all, kTypeDialog, IDD_RUNTIME_NOT_FOUND) && HasResource(all, kTypeDialog, IDD_EXCEPTION) &&
           HasString(all, IDS_WINDOWS_ERROR) && HasString(all, IDS_JNI_EINVAL);
}

}  // namespace

bool ReadLauncherResources(const Bytes& file, const std::wstring& path, LauncherResources& resources,
                           std::wstring& error)
{
    resources = LauncherResources();
    if (!ParsePe(file, resources.layout)) {
        error = path + L" is not a Windows executable";
        return false;
    }
    if (!ReadResources(file, resources.layout, resources.all)) {
        error = L"cannot read the resources of " + path + L": its resource directory is damaged";
        return false;
    }
    if (!IsLauncher(resources.all)) {
        error = path + L" is not a jlaunch launcher (it lacks the launcher's dialogs and messages)";
        return false;
    }
    resources.iconGroup = ResourceName::Id(1);
    resources.language = 0;  // neutral
    bool haveGroup = false, haveVersion = false;
    for (const StoredResource& resource : resources.all) {
        if (!haveGroup && resource.type.Is(kTypeGroupIcon)) {
            resources.iconGroup = resource.name;
            resources.iconLanguage = resource.language;
            haveGroup = true;
        }
        if (!haveVersion && resource.type.Is(kTypeVersion)) {
            resources.language = resource.language;
            haveVersion = true;
        }
    }
    if (!haveGroup)
        resources.iconLanguage = resources.language;
    return true;
}
