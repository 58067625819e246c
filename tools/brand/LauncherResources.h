#pragma once

// The resources of a launcher executable, read from its bytes without
// running or loading it, so that branding can write back the ones it keeps.
// No Windows calls.

#include "Bytes.h"
#include "PeImage.h"
#include "ResourceTree.h"

#include <string>
#include <vector>

struct LauncherResources {
    PeLayout layout;
    std::vector<StoredResource> all;  // every resource in every language
    ResourceName iconGroup;           // the application icon: the first icon group (id 1 when there is none)
    uint16_t iconLanguage = 0;        // its language
    uint16_t language = 0;            // of the version information, else neutral
};

// False with a message naming path when file is not an executable or does
// not carry the launcher's own dialogs and string table (so arbitrary
// programs are refused).
bool ReadLauncherResources(const Bytes& file, const std::wstring& path, LauncherResources& resources,
                           std::wstring& error);
