#pragma once

// The parts of a PE executable that branding reads and rewrites: the headers,
// the section table, the data directories, the checksum and the certificate
// table. No Windows calls: plain bytes, every field checked against the
// file's size.

#include "Bytes.h"

#include <string>
#include <vector>

constexpr uint32_t kResourceDirectory = 2;
constexpr uint32_t kCertificateDirectory = 4;  // its address is a file offset, not an RVA
constexpr uint32_t kRelocationDirectory = 5;

struct PeSection {
    size_t headerAt = 0;  // its entry in the section table
    uint32_t virtualSize = 0;
    uint32_t virtualAddress = 0;
    uint32_t rawSize = 0;
    uint32_t rawOffset = 0;
    uint32_t characteristics = 0;

    // The size it takes in memory (a section without VirtualSize maps its raw data).
    uint32_t MappedSize() const { return virtualSize ? virtualSize : rawSize; }
};

struct PeDataDirectory {
    uint32_t address = 0;
    uint32_t size = 0;
};

struct PeLayout {
    size_t symbolTableAt = 0;          // PointerToSymbolTable in the file header
    size_t initializedDataAt = 0;      // SizeOfInitializedData
    size_t imageSizeAt = 0;            // SizeOfImage
    size_t checksumAt = 0;             // CheckSum
    size_t directoriesAt = 0;          // the first data directory
    uint32_t sectionAlignment = 0;
    uint32_t fileAlignment = 0;
    std::vector<PeDataDirectory> directories;  // as many as the header declares (at most 16)
    std::vector<PeSection> sections;

    PeDataDirectory Directory(uint32_t index) const
    {
        return index < directories.size() ? directories[index] : PeDataDirectory();
    }
    // The section whose memory holds rva, or null.
    const PeSection* SectionAt(uint32_t rva) const;
    // The file offset of size bytes at rva, when they lie wholly inside one
    // section's raw data and inside the file.
    bool FileOffset(uint32_t rva, uint32_t size, size_t fileSize, size_t& offset) const;
};

// False when file is not a PE image: no MZ and PE signatures, an unknown
// optional header, alignments that are not powers of two, or headers or a
// section table that run past the end of the file.
bool ParsePe(const Bytes& file, PeLayout& layout);

// The checksum as the system's image helper computes it: the file as 16-bit
// little-endian words (the checksum field counting as zero, an odd last byte
// as a word of its own), added with end-around carry folded into 16 bits,
// plus the file's length.
uint32_t PeChecksum(const Bytes& file, size_t checksumAt);

// Writes the correct checksum into the file's header.
void UpdatePeChecksum(Bytes& file, const PeLayout& layout);

// Whether the file carries a certificate table (an Authenticode signature).
inline bool HasCertificateTable(const PeLayout& layout)
{
    PeDataDirectory table = layout.Directory(kCertificateDirectory);
    return table.address != 0 || table.size != 0;
}

// Removes the certificate table: zeroes its directory entry and drops its
// bytes from the end of the file. False with the reason when the table does
// not end the file (then the file is left alone).
bool StripCertificateTable(Bytes& file, std::wstring& reason);

inline uint32_t AlignUp(uint32_t value, uint32_t alignment)
{
    return (value + alignment - 1) & ~(alignment - 1);
}
