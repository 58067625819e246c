#pragma once

#include "base/UniqueResource.h"

#include <windows.h>

// The part of the GDI+ flat interface that the splash window draws with.
// gdiplus.dll is loaded from the system folder on first use, never by its bare
// name, and started once per process; it stays loaded and started until the
// process ends, when the shutdown runs from the exit handlers.
namespace gdiplus {

using Status = int;  // 0 is Ok
struct GpImage;
struct GpGraphics;
struct GpImageAttributes;

// Enumeration values used here.
constexpr int kSmoothingHighQuality = 2;
constexpr int kCompositingHighQuality = 2;
constexpr int kInterpolationHighQualityBicubic = 7;
constexpr int kTextRenderingAntiAliasGridFit = 3;
constexpr int kWrapTileFlipXY = 3;
constexpr int kUnitPixel = 2;
constexpr DWORD kOpaqueBlack = 0xFF000000;

struct Api {
    Status(WINAPI* CreateBitmapFromFile)(const wchar_t* fileName, GpImage** bitmap);
    Status(WINAPI* GetImageWidth)(GpImage* image, UINT* width);
    Status(WINAPI* GetImageHeight)(GpImage* image, UINT* height);
    Status(WINAPI* DisposeImage)(GpImage* image);
    Status(WINAPI* CreateFromHDC)(HDC dc, GpGraphics** graphics);
    Status(WINAPI* DeleteGraphics)(GpGraphics* graphics);
    Status(WINAPI* SetSmoothingMode)(GpGraphics* graphics, int mode);
    Status(WINAPI* SetCompositingQuality)(GpGraphics* graphics, int quality);
    Status(WINAPI* SetInterpolationMode)(GpGraphics* graphics, int mode);
    Status(WINAPI* SetTextRenderingHint)(GpGraphics* graphics, int hint);
    Status(WINAPI* CreateImageAttributes)(GpImageAttributes** attributes);
    Status(WINAPI* SetImageAttributesWrapMode)(GpImageAttributes* attributes, int wrap, DWORD argb, BOOL clamp);
    Status(WINAPI* DisposeImageAttributes)(GpImageAttributes* attributes);
    Status(WINAPI* DrawImageRectRectI)(GpGraphics* graphics, GpImage* image, INT dstX, INT dstY, INT dstWidth,
                                       INT dstHeight, INT srcX, INT srcY, INT srcWidth, INT srcHeight, int srcUnit,
                                       const GpImageAttributes* attributes, void* abortCallback, void* callbackData);
};

// The started library, or null when it cannot be loaded, lacks an entry point
// or does not start. Safe to call from any thread; the work is done once.
const Api* Started();

// Owners of GDI+ objects; only made once Started() has given the library.
struct ImageTraits {
    using Type = GpImage*;
    static Type Invalid() { return nullptr; }
    static bool AlsoValid(Type) { return true; }
    static void Close(Type v) { Started()->DisposeImage(v); }
};
struct GraphicsTraits {
    using Type = GpGraphics*;
    static Type Invalid() { return nullptr; }
    static bool AlsoValid(Type) { return true; }
    static void Close(Type v) { Started()->DeleteGraphics(v); }
};
struct AttributesTraits {
    using Type = GpImageAttributes*;
    static Type Invalid() { return nullptr; }
    static bool AlsoValid(Type) { return true; }
    static void Close(Type v) { Started()->DisposeImageAttributes(v); }
};
using UniqueImage = UniqueResource<ImageTraits>;
using UniqueGraphics = UniqueResource<GraphicsTraits>;
using UniqueAttributes = UniqueResource<AttributesTraits>;

}  // namespace gdiplus
