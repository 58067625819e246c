#pragma once

// The resource tree of a PE file (type, name, language), read from its bytes
// and built anew as the contents of a resource section. No Windows calls.
// Texts are UTF-16 code units, one per wchar_t on every system.

#include "Bytes.h"
#include "PeImage.h"

#include <string>
#include <vector>

// Resource types by id.
constexpr uint16_t kTypeIcon = 3;
constexpr uint16_t kTypeDialog = 5;
constexpr uint16_t kTypeString = 6;
constexpr uint16_t kTypeRcData = 10;
constexpr uint16_t kTypeGroupIcon = 14;
constexpr uint16_t kTypeVersion = 16;

// A resource type or name: a text, or an id when the text is empty.
struct ResourceName {
    std::wstring text;
    uint16_t id = 0;

    static ResourceName Id(uint16_t id)
    {
        ResourceName name;
        name.id = id;
        return name;
    }
    static ResourceName Text(const std::wstring& text)
    {
        ResourceName name;
        name.text = text;
        return name;
    }
    bool Is(uint16_t other) const { return text.empty() && id == other; }
    bool Is(const std::wstring& other) const { return !text.empty() && text == other; }
};

struct StoredResource {
    ResourceName type;
    ResourceName name;
    uint16_t language = 0;
    Bytes data;
};

// Every resource of the file in every language, in the tree's order. False
// when the tree is damaged: an entry, a name or a data block outside the
// file, data directly below the root, or more data than the file could hold.
// A file without a resource directory has no resources.
bool ReadResources(const Bytes& file, const PeLayout& layout, std::vector<StoredResource>& resources);

// The resource section for resources placed at rva: the directories (named
// entries first, ordered by their upper-case text, then ids in ascending
// order; languages ascending), the data entries, the names, then the data
// blocks, each aligned to 8 bytes. Deterministic: the same resources give
// the same bytes. A later resource with the same type, name and language
// replaces an earlier one.
Bytes BuildResourceSection(const std::vector<StoredResource>& resources, uint32_t rva);
