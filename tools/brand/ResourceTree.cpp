#include "ResourceTree.h"

#include <algorithm>
#include <map>

namespace {

constexpr uint32_t kHighBit = 0x80000000u;
constexpr size_t kDirectorySize = 16;
constexpr size_t kEntrySize = 8;
constexpr size_t kDataEntrySize = 16;

// The resource section as the reader sees it: offsets are relative to its
// start, and nothing is read past its end.
struct Section {
    const Bytes& file;
    size_t start;
    size_t end;

    bool U16(size_t offset, uint16_t& value) const
    {
        return offset < end - start && end - start - offset >= 2 && ReadU16(file, start + offset, value);
    }
    bool U32(size_t offset, uint32_t& value) const
    {
        return offset < end - start && end - start - offset >= 4 && ReadU32(file, start + offset, value);
    }
};

struct Entry {
    uint32_t name = 0;
    uint32_t target = 0;
};

bool ReadEntries(const Section& section, size_t offset, std::vector<Entry>& entries)
{
    uint16_t named = 0, ids = 0;
    if (!section.U16(offset + 12, named) || !section.U16(offset + 14, ids))
        return false;
    entries.clear();
    for (size_t i = 0; i < size_t(named) + ids; ++i) {
        Entry entry;
        size_t at = offset + kDirectorySize + kEntrySize * i;
        if (!section.U32(at, entry.name) || !section.U32(at + 4, entry.target))
            return false;
        entries.push_back(entry);
    }
    return true;
}

bool ReadName(const Section& section, uint32_t value, ResourceName& name)
{
    name = ResourceName();
    if (!(value & kHighBit)) {
        name.id = static_cast<uint16_t>(value);
        return true;
    }
    size_t at = value & ~kHighBit;
    uint16_t length = 0;
    if (!section.U16(at, length) || length == 0)
        return false;
    for (uint16_t i = 0; i < length; ++i) {
        uint16_t unit = 0;
        if (!section.U16(at + 2 + 2 * size_t(i), unit))
            return false;
        name.text += static_cast<wchar_t>(unit);
    }
    return true;
}

// Upper case for ASCII letters only, so that every system orders names alike.
wchar_t Upper(wchar_t c)
{
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

std::wstring Folded(std::wstring text)
{
    for (wchar_t& c : text)
        c = Upper(c);
    return text;
}

// The tree's order: names before ids, names by their upper-case text.
bool Before(const ResourceName& a, const ResourceName& b)
{
    if (a.text.empty() != b.text.empty())
        return !a.text.empty();
    if (a.text.empty())
        return a.id < b.id;
    std::wstring foldedA = Folded(a.text), foldedB = Folded(b.text);
    return foldedA != foldedB ? foldedA < foldedB : a.text < b.text;
}

struct NameOrder {
    bool operator()(const ResourceName& a, const ResourceName& b) const { return Before(a, b); }
};

using Languages = std::map<uint16_t, const Bytes*>;
using Names = std::map<ResourceName, Languages, NameOrder>;
using Types = std::map<ResourceName, Names, NameOrder>;

size_t Align8(size_t value)
{
    return (value + 7) & ~size_t(7);
}

class SectionWriter {
public:
    explicit SectionWriter(Bytes& data) : m_data(data) {}
    void U16(size_t at, uint16_t value) { StoreU16(m_data, at, value); }
    void U32(size_t at, uint32_t value) { StoreU32(m_data, at, value); }
    void Directory(size_t at, const std::vector<ResourceName>& keys)
    {
        uint16_t named = static_cast<uint16_t>(std::count_if(keys.begin(), keys.end(),
                                                             [](const ResourceName& k) { return !k.text.empty(); }));
        U16(at + 12, named);
        U16(at + 14, static_cast<uint16_t>(keys.size() - named));
    }
    // An entry's name: an id, or the offset of the text, written once.
    uint32_t Name(const ResourceName& name, size_t& stringsAt)
    {
        if (name.text.empty())
            return name.id;
        uint32_t offset = static_cast<uint32_t>(stringsAt) | kHighBit;
        U16(stringsAt, static_cast<uint16_t>(name.text.size()));
        for (size_t i = 0; i < name.text.size(); ++i)
            U16(stringsAt + 2 + 2 * i, static_cast<uint16_t>(name.text[i]));
        stringsAt += 2 + 2 * name.text.size();
        return offset;
    }

private:
    Bytes& m_data;
};

template <typename Map>
std::vector<ResourceName> KeysOf(const Map& map)
{
    std::vector<ResourceName> keys;
    for (const auto& item : map)
        keys.push_back(item.first);
    return keys;
}

}  // namespace

bool ReadResources(const Bytes& file, const PeLayout& layout, std::vector<StoredResource>& resources)
{
    resources.clear();
    PeDataDirectory directory = layout.Directory(kResourceDirectory);
    if (directory.address == 0 && directory.size == 0)
        return true;
    const PeSection* holder = layout.SectionAt(directory.address);
    size_t start = 0;
    if (!holder || !layout.FileOffset(directory.address, 0, file.size(), start))
        return false;
    // The tree's offsets may reach anywhere in the section that holds it.
    size_t end = std::min<size_t>(file.size(), size_t(holder->rawOffset) + holder->rawSize);
    Section section = {file, start, end};
    const uint64_t dataLimit = 4 * uint64_t(file.size());  // entries may share data, but not without bound
    uint64_t dataTotal = 0;
    std::vector<Entry> types, names, languages;
    if (!ReadEntries(section, 0, types))
        return false;
    for (const Entry& type : types) {
        if (!(type.target & kHighBit) || !ReadEntries(section, type.target & ~kHighBit, names))
            return false;
        for (const Entry& name : names) {
            if (!(name.target & kHighBit) || !ReadEntries(section, name.target & ~kHighBit, languages))
                return false;
            for (const Entry& language : languages) {
                StoredResource resource;
                uint32_t dataRva = 0, dataSize = 0;
                size_t dataAt = 0;
                if ((language.target & kHighBit) || !ReadName(section, type.name, resource.type) ||
                    !ReadName(section, name.name, resource.name) || !section.U32(language.target, dataRva) ||
                    !section.U32(language.target + 4, dataSize) ||
                    !layout.FileOffset(dataRva, dataSize, file.size(), dataAt) ||
                    (dataTotal += dataSize) > dataLimit)
                    return false;
                resource.language = static_cast<uint16_t>(language.name);
                resource.data.assign(file.begin() + dataAt, file.begin() + dataAt + dataSize);
                resources.push_back(static_cast<StoredResource&&>(resource));
            }
        }
    }
    return true;
}

Bytes BuildResourceSection(const std::vector<StoredResource>& resources, uint32_t rva)
{
    Types tree;
    for (const StoredResource& resource : resources)
        tree[resource.type][resource.name][resource.language] = &resource.data;

    // Where everything goes: the root, the type directories, the name
    // directories, the data entries, the names, then the data.
    size_t size = kDirectorySize + kEntrySize * tree.size();
    size_t leaves = 0, textUnits = 0, texts = 0;
    for (const auto& type : tree) {
        size += kDirectorySize + kEntrySize * type.second.size();
        texts += !type.first.text.empty();
        textUnits += type.first.text.size();
        for (const auto& name : type.second) {
            size += kDirectorySize + kEntrySize * name.second.size();
            leaves += name.second.size();
            texts += !name.first.text.empty();
            textUnits += name.first.text.size();
        }
    }
    size_t dataEntriesAt = size;
    size_t stringsAt = dataEntriesAt + kDataEntrySize * leaves;
    size_t dataAt = Align8(stringsAt + 2 * texts + 2 * textUnits);
    size_t total = dataAt;
    for (const auto& type : tree)
        for (const auto& name : type.second)
            for (const auto& language : name.second)
                total = Align8(total + language.second->size());

    Bytes data(total, 0);
    SectionWriter out(data);
    out.Directory(0, KeysOf(tree));
    size_t typeDirectoryAt = kDirectorySize + kEntrySize * tree.size();
    size_t nameDirectoryAt = typeDirectoryAt;
    for (const auto& type : tree)
        nameDirectoryAt += kDirectorySize + kEntrySize * type.second.size();
    size_t typeIndex = 0, entryAt = dataEntriesAt;
    for (const auto& type : tree) {
        size_t rootEntry = kDirectorySize + kEntrySize * typeIndex++;
        out.U32(rootEntry, out.Name(type.first, stringsAt));
        out.U32(rootEntry + 4, static_cast<uint32_t>(typeDirectoryAt) | kHighBit);
        out.Directory(typeDirectoryAt, KeysOf(type.second));
        size_t nameIndex = 0;
        for (const auto& name : type.second) {
            size_t typeEntry = typeDirectoryAt + kDirectorySize + kEntrySize * nameIndex++;
            out.U32(typeEntry, out.Name(name.first, stringsAt));
            out.U32(typeEntry + 4, static_cast<uint32_t>(nameDirectoryAt) | kHighBit);
            out.U16(nameDirectoryAt + 14, static_cast<uint16_t>(name.second.size()));
            size_t languageIndex = 0;
            for (const auto& language : name.second) {
                size_t nameEntry = nameDirectoryAt + kDirectorySize + kEntrySize * languageIndex++;
                out.U32(nameEntry, language.first);
                out.U32(nameEntry + 4, static_cast<uint32_t>(entryAt));
                out.U32(entryAt, rva + static_cast<uint32_t>(dataAt));
                out.U32(entryAt + 4, static_cast<uint32_t>(language.second->size()));
                std::copy(language.second->begin(), language.second->end(), data.begin() + dataAt);
                dataAt = Align8(dataAt + language.second->size());
                entryAt += kDataEntrySize;
            }
            nameDirectoryAt += kDirectorySize + kEntrySize * name.second.size();
        }
        typeDirectoryAt += kDirectorySize + kEntrySize * type.second.size();
    }
    return data;
}
