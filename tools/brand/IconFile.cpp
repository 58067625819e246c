#include "IconFile.h"

#include <string.h>

namespace {

constexpr size_t kDirectorySize = 6;    // reserved, type, count
constexpr size_t kFileEntrySize = 16;   // ICONDIRENTRY: ... bytes, file offset
constexpr uint16_t kIconType = 1;
constexpr uint16_t kCursorType = 2;

bool IsImageData(const uint8_t* data, size_t size)
{
    static const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size >= sizeof(kPngSignature) && memcmp(data, kPngSignature, sizeof(kPngSignature)) == 0)
        return true;
    // BITMAPINFOHEADER, BITMAPV4HEADER or BITMAPV5HEADER, whole.
    if (size < 4)
        return false;
    uint32_t header = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
    return (header == 40 || header == 108 || header == 124) && size >= header;
}

}  // namespace

bool ParseIconFile(const Bytes& file, std::vector<IconImage>& images, std::wstring& reason)
{
    images.clear();
    uint16_t reserved = 0, type = 0, count = 0;
    if (!ReadU16(file, 0, reserved) || !ReadU16(file, 2, type) || !ReadU16(file, 4, count)) {
        reason = L"it is too short to be an icon file";
        return false;
    }
    if (reserved != 0 || type != kIconType) {
        reason = reserved == 0 && type == kCursorType ? L"it is a cursor file, not an icon file"
                                                      : L"it does not start with an icon file header";
        return false;
    }
    if (count == 0) {
        reason = L"it holds no images";
        return false;
    }
    if ((file.size() - kDirectorySize) / kFileEntrySize < count) {
        reason = L"it is cut short: its list of " + std::to_wstring(count) + L" images runs past the end of the file";
        return false;
    }
    for (uint16_t i = 0; i < count; ++i) {
        size_t at = kDirectorySize + i * kFileEntrySize;
        IconImage image;
        image.width = file[at];
        image.height = file[at + 1];
        image.colorCount = file[at + 2];
        uint32_t size = 0, offset = 0;
        ReadU16(file, at + 4, image.planes);
        ReadU16(file, at + 6, image.bitCount);
        ReadU32(file, at + 8, size);
        ReadU32(file, at + 12, offset);
        std::wstring which = L"image " + std::to_wstring(i + 1);
        if (size == 0 || offset > file.size() || file.size() - offset < size) {
            reason = L"it is cut short: " + which + L" lies outside the file";
            return false;
        }
        if (!IsImageData(file.data() + offset, size)) {
            reason = which + L" is neither a bitmap nor a PNG image";
            return false;
        }
        image.data.assign(file.begin() + offset, file.begin() + offset + size);
        images.push_back(static_cast<IconImage&&>(image));
    }
    return true;
}

Bytes IconGroupData(const std::vector<IconImage>& images, uint16_t firstId)
{
    Bytes group;
    PutU16(group, 0);
    PutU16(group, kIconType);
    PutU16(group, static_cast<uint16_t>(images.size()));
    uint16_t id = firstId;
    for (const IconImage& image : images) {  // GRPICONDIRENTRY: the file's entry with an id for its offset
        group.push_back(image.width);
        group.push_back(image.height);
        group.push_back(image.colorCount);
        group.push_back(0);
        PutU16(group, image.planes);
        PutU16(group, image.bitCount);
        PutU32(group, static_cast<uint32_t>(image.data.size()));
        PutU16(group, id++);
    }
    return group;
}
