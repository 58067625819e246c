#include "ResourceWriter.h"

#include <algorithm>

namespace {

constexpr uint32_t kInitializedData = 0x00000040;  // IMAGE_SCN_CNT_INITIALIZED_DATA

bool Holds(const PeSection& section, const PeDataDirectory& directory)
{
    return directory.size && directory.address >= section.virtualAddress &&
           directory.address - section.virtualAddress < section.MappedSize();
}

// A section may move in memory when it holds the base relocations and nothing
// else the headers point to: nothing in the image refers to it by address.
bool CanMove(const PeSection& section, const PeLayout& layout)
{
    bool relocations = false;
    for (uint32_t i = 0; i < layout.directories.size(); ++i) {
        if (i == kCertificateDirectory || !Holds(section, layout.directories[i]))
            continue;
        if (i != kRelocationDirectory)
            return false;
        relocations = true;
    }
    return relocations;
}

std::wstring SectionName(const Bytes& file, const PeSection& section)
{
    std::wstring name;
    for (size_t i = 0; i < 8 && file[section.headerAt + i]; ++i)
        name += static_cast<wchar_t>(file[section.headerAt + i]);
    return name;
}

}  // namespace

bool ReplaceResources(Bytes& file, const std::vector<StoredResource>& resources, std::wstring& reason)
{
    PeLayout layout;
    if (!ParsePe(file, layout)) {
        reason = L"it is not a PE image";
        return false;
    }
    if (HasCertificateTable(layout)) {
        reason = L"it carries a certificate table";
        return false;
    }
    PeDataDirectory directory = layout.Directory(kResourceDirectory);
    auto found = std::find_if(layout.sections.begin(), layout.sections.end(), [&](const PeSection& section) {
        return directory.size && section.virtualAddress == directory.address;
    });
    if (found == layout.sections.end() || uint64_t(found->rawOffset) + found->rawSize > file.size()) {
        reason = L"its resources are not a section of their own";
        return false;
    }
    const PeSection old = *found;
    Bytes data = BuildResourceSection(resources, old.virtualAddress);
    if (data.size() > 0x7FFFFFFF) {
        reason = L"the resources are too large";
        return false;
    }
    const uint32_t newSize = static_cast<uint32_t>(data.size());
    const uint32_t newRaw = AlignUp(newSize, layout.fileAlignment);
    const uint32_t oldSpan = AlignUp(old.MappedSize(), layout.sectionAlignment);
    uint32_t newVirtualSize = newSize;
    int64_t memoryShift = int64_t(AlignUp(newSize, layout.sectionAlignment)) - oldSpan;
    const int64_t fileShift = int64_t(newRaw) - old.rawSize;
    const uint64_t oldEnd = uint64_t(old.rawOffset) + old.rawSize;

    for (const PeSection& section : layout.sections) {
        if (section.virtualAddress <= old.virtualAddress || memoryShift == 0 || CanMove(section, layout))
            continue;
        if (memoryShift > 0) {
            reason = L"its resources cannot grow: section " + SectionName(file, section) + L" follows them";
            return false;
        }
        // Smaller resources keep their span in memory, so nothing after them moves.
        newVirtualSize = oldSpan;
        memoryShift = 0;
    }

    Bytes out(file.begin(), file.begin() + old.rawOffset);
    out.insert(out.end(), data.begin(), data.end());
    out.resize(out.size() + (newRaw - newSize), 0);
    out.insert(out.end(), file.begin() + static_cast<size_t>(oldEnd), file.end());

    auto shiftOffset = [&](size_t fieldAt) {
        uint32_t value = 0;
        if (ReadU32(out, fieldAt, value) && value >= oldEnd)
            StoreU32(out, fieldAt, static_cast<uint32_t>(value + fileShift));
    };
    uint32_t imageSize = 0;
    for (const PeSection& section : layout.sections) {
        PeSection moved = section;
        if (section.headerAt == old.headerAt) {
            moved.virtualSize = newVirtualSize;
            moved.rawSize = newRaw;
            StoreU32(out, section.headerAt + 8, moved.virtualSize);
            StoreU32(out, section.headerAt + 16, moved.rawSize);
        } else {
            if (section.rawSize)
                shiftOffset(section.headerAt + 20);
            if (section.virtualAddress > old.virtualAddress) {
                moved.virtualAddress = static_cast<uint32_t>(section.virtualAddress + memoryShift);
                StoreU32(out, section.headerAt + 12, moved.virtualAddress);
            }
        }
        imageSize = std::max(imageSize, AlignUp(moved.virtualAddress + moved.MappedSize(), layout.sectionAlignment));
    }
    for (uint32_t i = 0; i < layout.directories.size(); ++i) {
        const PeDataDirectory& entry = layout.directories[i];
        size_t at = layout.directoriesAt + 8 * i;
        if (i == kResourceDirectory)
            StoreU32(out, at + 4, newSize);
        else if (i != kCertificateDirectory && entry.address > old.virtualAddress && entry.size)
            StoreU32(out, at, static_cast<uint32_t>(entry.address + memoryShift));
    }
    shiftOffset(layout.symbolTableAt);
    StoreU32(out, layout.imageSizeAt, imageSize);
    if (old.characteristics & kInitializedData) {
        uint32_t initialized = 0;
        ReadU32(out, layout.initializedDataAt, initialized);
        StoreU32(out, layout.initializedDataAt, static_cast<uint32_t>(initialized + fileShift));
    }
    UpdatePeChecksum(out, layout);
    file.swap(out);
    return true;
}
