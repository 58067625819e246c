#pragma once

// The resources of a launcher executable, read without running it, so that
// branding can write back the ones it keeps.

#include "Bytes.h"

#include <windows.h>

#include <string>
#include <vector>

// A resource type or name: a text, or an id when the text is empty.
struct ResourceName {
    std::wstring text;
    WORD id = 0;

    static ResourceName From(LPCWSTR name);
    LPCWSTR Get() const { return text.empty() ? MAKEINTRESOURCEW(id) : text.c_str(); }
    bool Is(LPCWSTR name) const { return IS_INTRESOURCE(name) ? text.empty() && id == LOWORD(name) : text == name; }
};

struct StoredResource {
    ResourceName type;
    ResourceName name;
    WORD language = 0;
    Bytes data;
};

struct LauncherResources {
    std::vector<StoredResource> all;  // every resource in every language
    ResourceName iconGroup;           // the application icon: the first icon group (id 1 when there is none)
    WORD iconLanguage = 0;            // its language
    WORD language = 0;                // of the version information, else neutral
};

// False with a message when path is not an executable or does not carry the
// launcher's own dialogs and string table (so arbitrary programs are refused).
bool ReadLauncherResources(const std::wstring& path, LauncherResources& resources, std::wstring& error);
