#pragma once

// Icon files (.ico) and the icon-group resource built from them. No Windows
// calls: an .ico file's directory (ICONDIR with one ICONDIRENTRY per image)
// becomes an RT_GROUP_ICON directory whose entries name RT_ICON resources by
// id, and each image's bytes become one RT_ICON resource.

#include "Bytes.h"

#include <string>

struct IconImage {
    uint8_t width = 0;
    uint8_t height = 0;
    uint8_t colorCount = 0;
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    Bytes data;  // a BITMAPINFOHEADER-based bitmap or a PNG image
};

// The images of an .ico file. Every field is checked against the file's size;
// a file that is not an icon (a cursor, a truncated file, an image outside the
// file or one that is neither a bitmap nor a PNG) gives false and the reason.
bool ParseIconFile(const Bytes& file, std::vector<IconImage>& images, std::wstring& reason);

// RT_GROUP_ICON data for images stored as RT_ICON resources firstId,
// firstId + 1, ... (the caller keeps the ids within 16 bits).
Bytes IconGroupData(const std::vector<IconImage>& images, uint16_t firstId);
