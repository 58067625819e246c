#include "PeImage.h"

namespace {

constexpr uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr uint16_t kPe32 = 0x10B;
constexpr uint16_t kPe32Plus = 0x20B;
constexpr size_t kFileHeaderSize = 20;
constexpr size_t kSectionEntrySize = 40;
constexpr uint32_t kMaxDirectories = 16;

bool IsPowerOfTwo(uint32_t value)
{
    return value != 0 && (value & (value - 1)) == 0;
}

}  // namespace

const PeSection* PeLayout::SectionAt(uint32_t rva) const
{
    for (const PeSection& section : sections)
        if (rva >= section.virtualAddress && rva - section.virtualAddress < section.MappedSize())
            return &section;
    return nullptr;
}

bool PeLayout::FileOffset(uint32_t rva, uint32_t size, size_t fileSize, size_t& offset) const
{
    const PeSection* section = SectionAt(rva);
    if (!section)
        return false;
    uint64_t into = rva - section->virtualAddress;
    if (into + size > section->rawSize)
        return false;
    uint64_t at = section->rawOffset + into;
    if (at + size > fileSize)
        return false;
    offset = static_cast<size_t>(at);
    return true;
}

bool ParsePe(const Bytes& file, PeLayout& layout)
{
    layout = PeLayout();
    uint16_t dosMagic = 0, sectionCount = 0, optionalSize = 0, magic = 0;
    uint32_t peAt = 0, signature = 0, directoryCount = 0;
    if (!ReadU16(file, 0, dosMagic) || dosMagic != 0x5A4D || !ReadU32(file, 0x3C, peAt) ||
        !ReadU32(file, peAt, signature) || signature != kPeSignature)
        return false;
    size_t fileHeaderAt = size_t(peAt) + 4;
    size_t optionalAt = fileHeaderAt + kFileHeaderSize;
    if (!ReadU16(file, fileHeaderAt + 2, sectionCount) || !ReadU16(file, fileHeaderAt + 16, optionalSize) ||
        !ReadU16(file, optionalAt, magic) || (magic != kPe32 && magic != kPe32Plus))
        return false;
    size_t countAt = optionalAt + (magic == kPe32 ? 92 : 108);
    layout.symbolTableAt = fileHeaderAt + 8;
    layout.initializedDataAt = optionalAt + 8;
    layout.imageSizeAt = optionalAt + 56;
    layout.checksumAt = optionalAt + 64;
    layout.directoriesAt = countAt + 4;
    if (!ReadU32(file, optionalAt + 32, layout.sectionAlignment) ||
        !ReadU32(file, optionalAt + 36, layout.fileAlignment) || !ReadU32(file, countAt, directoryCount) ||
        !IsPowerOfTwo(layout.sectionAlignment) || !IsPowerOfTwo(layout.fileAlignment))
        return false;
    // The directories must lie inside the optional header as well as the file.
    size_t optionalEnd = optionalAt + optionalSize;
    directoryCount = directoryCount < kMaxDirectories ? directoryCount : kMaxDirectories;
    if (layout.directoriesAt > optionalEnd || layout.directoriesAt + 8 * size_t(directoryCount) > optionalEnd)
        return false;
    for (uint32_t i = 0; i < directoryCount; ++i) {
        PeDataDirectory directory;
        if (!ReadU32(file, layout.directoriesAt + 8 * i, directory.address) ||
            !ReadU32(file, layout.directoriesAt + 8 * i + 4, directory.size))
            return false;
        layout.directories.push_back(directory);
    }
    if (optionalEnd + kSectionEntrySize * sectionCount > file.size())
        return false;
    for (uint16_t i = 0; i < sectionCount; ++i) {
        PeSection section;
        section.headerAt = optionalEnd + kSectionEntrySize * i;
        ReadU32(file, section.headerAt + 8, section.virtualSize);
        ReadU32(file, section.headerAt + 12, section.virtualAddress);
        ReadU32(file, section.headerAt + 16, section.rawSize);
        ReadU32(file, section.headerAt + 20, section.rawOffset);
        ReadU32(file, section.headerAt + 36, section.characteristics);
        layout.sections.push_back(section);
    }
    return true;
}

uint32_t PeChecksum(const Bytes& file, size_t checksumAt)
{
    auto byteAt = [&](size_t at) -> uint32_t {
        return at >= checksumAt && at - checksumAt < 4 ? 0 : file[at];
    };
    uint32_t sum = 0;
    for (size_t at = 0; at < file.size(); at += 2) {
        sum += byteAt(at) | (at + 1 < file.size() ? byteAt(at + 1) << 8 : 0);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return sum + static_cast<uint32_t>(file.size());
}

void UpdatePeChecksum(Bytes& file, const PeLayout& layout)
{
    StoreU32(file, layout.checksumAt, PeChecksum(file, layout.checksumAt));
}

bool StripCertificateTable(Bytes& file, std::wstring& reason)
{
    PeLayout layout;
    if (!ParsePe(file, layout) || !HasCertificateTable(layout)) {
        reason = L"it carries no certificate table";
        return false;
    }
    PeDataDirectory table = layout.Directory(kCertificateDirectory);
    uint64_t sectionsEnd = 0;
    for (const PeSection& section : layout.sections)
        if (section.rawSize && uint64_t(section.rawOffset) + section.rawSize > sectionsEnd)
            sectionsEnd = uint64_t(section.rawOffset) + section.rawSize;
    if (uint64_t(table.address) + table.size != file.size() || table.address < sectionsEnd) {
        reason = L"its certificate table does not end the file";
        return false;
    }
    size_t at = layout.directoriesAt + 8 * kCertificateDirectory;
    StoreU32(file, at, 0);
    StoreU32(file, at + 4, 0);
    file.resize(table.address);
    return true;
}
