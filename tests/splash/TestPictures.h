#pragma once

// Small pictures with known colours, written as BMP or PNG bytes, and the
// colours a window shows on screen.

#include "support/pixels/WindowPixels.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A picture of four flat quadrants: red top left, green top right, blue
// bottom left, grey bottom right (split at width / 2 and height / 2).
struct TestPicture {
    int width;
    int height;

    COLORREF At(int x, int y) const
    {
        bool right = x >= width / 2;
        bool bottom = y >= height / 2;
        if (!bottom)
            return right ? RGB(0, 255, 0) : RGB(255, 0, 0);
        return right ? RGB(128, 128, 128) : RGB(0, 0, 255);
    }

    // 24-bit bottom-up BMP.
    std::string Bmp() const
    {
        int stride = (width * 3 + 3) & ~3;
        std::string pixels;
        for (int y = height - 1; y >= 0; --y) {
            for (int x = 0; x < width; ++x) {
                COLORREF c = At(x, y);
                pixels += static_cast<char>(GetBValue(c));
                pixels += static_cast<char>(GetGValue(c));
                pixels += static_cast<char>(GetRValue(c));
            }
            pixels.append(stride - width * 3, '\0');
        }
        std::string bytes = "BM";
        Put32(bytes, 14 + 40 + static_cast<uint32_t>(pixels.size()));
        Put32(bytes, 0);
        Put32(bytes, 14 + 40);
        Put32(bytes, 40);
        Put32(bytes, width);
        Put32(bytes, height);
        Put16(bytes, 1);
        Put16(bytes, 24);
        for (int i = 0; i < 6; ++i)
            Put32(bytes, 0);
        return bytes + pixels;
    }

    // 8-bit RGB PNG, its image data in stored (uncompressed) deflate blocks.
    std::string Png() const
    {
        std::string raw;
        for (int y = 0; y < height; ++y) {
            raw += '\0';  // no filter
            for (int x = 0; x < width; ++x) {
                COLORREF c = At(x, y);
                raw += static_cast<char>(GetRValue(c));
                raw += static_cast<char>(GetGValue(c));
                raw += static_cast<char>(GetBValue(c));
            }
        }
        std::string zlib = "\x78\x01";
        for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
            size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
            zlib += static_cast<char>(at + n >= raw.size() ? 1 : 0);
            Put16(zlib, static_cast<uint16_t>(n));
            Put16(zlib, static_cast<uint16_t>(~n));
            zlib += raw.substr(at, n);
            if (raw.empty())
                break;
        }
        uint32_t a = 1, b = 0;
        for (unsigned char ch : raw) {
            a = (a + ch) % 65521;
            b = (b + a) % 65521;
        }
        PutBig32(zlib, (b << 16) | a);

        std::string header;
        PutBig32(header, width);
        PutBig32(header, height);
        header += std::string("\x08\x02\x00\x00\x00", 5);
        return std::string("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", header) + Chunk("IDAT", zlib) + Chunk("IEND", "");
    }

private:
    static void Put16(std::string& s, uint16_t v) { s.append({static_cast<char>(v), static_cast<char>(v >> 8)}); }
    static void Put32(std::string& s, uint32_t v)
    {
        Put16(s, static_cast<uint16_t>(v));
        Put16(s, static_cast<uint16_t>(v >> 16));
    }
    static void PutBig32(std::string& s, uint32_t v)
    {
        s.append({static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                  static_cast<char>(v)});
    }
    static std::string Chunk(const char* type, const std::string& data)
    {
        std::string typed = std::string(type) + data;
        uint32_t crc = 0xFFFFFFFF;
        for (unsigned char ch : typed) {
            crc ^= ch;
            for (int k = 0; k < 8; ++k)
                crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
        }
        std::string chunk;
        PutBig32(chunk, static_cast<uint32_t>(data.size()));
        chunk += typed;
        PutBig32(chunk, crc ^ 0xFFFFFFFF);
        return chunk;
    }
};

// How many pixels of the screen area differ from the picture.
inline int PixelsDiffering(const TestPicture& picture, const RECT& area)
{
    Pixels shown = CaptureScreen(area);
    if (shown.width != picture.width || shown.height != picture.height)
        return picture.width * picture.height;
    int differing = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            differing += shown.At(x, y) != picture.At(x, y);
    return differing;
}

// How many of the four quadrants' centres in the screen area differ from the
// picture's colours there: a picture scaled smoothly to the area keeps its
// flat quadrants.
inline int QuadrantCentresDiffering(const TestPicture& picture, const RECT& area)
{
    Pixels shown = CaptureScreen(area);
    if (shown.width < 4 || shown.height < 4)
        return 4;
    int differing = 0;
    for (int qy : {1, 3})
        for (int qx : {1, 3})
            differing += shown.At(shown.width * qx / 4, shown.height * qy / 4) !=
                         picture.At(picture.width * qx / 4, picture.height * qy / 4);
    return differing;
}
