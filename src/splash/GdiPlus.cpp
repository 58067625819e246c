#include "splash/GdiPlus.h"

#include <stdlib.h>

namespace gdiplus {
namespace {

struct StartupInput {
    UINT32 version;
    void* debugEventCallback;
    BOOL suppressBackgroundThread;
    BOOL suppressExternalCodecs;
};

using StartupFunction = Status(WINAPI*)(ULONG_PTR* token, const StartupInput* input, void* output);
using ShutdownFunction = void(WINAPI*)(ULONG_PTR token);

INIT_ONCE g_once = INIT_ONCE_STATIC_INIT;
Api g_api;
bool g_started = false;
ULONG_PTR g_token = 0;
ShutdownFunction g_shutdown = nullptr;

template <typename Function>
bool Resolve(HMODULE module, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

void ShutDown()
{
    if (g_token && g_shutdown)
        g_shutdown(g_token);
    g_token = 0;
}

BOOL CALLBACK Start(INIT_ONCE*, void*, void**)
{
    // Loaded for the rest of the process: the started library keeps a
    // background thread, so the module is deliberately not owned by anything.
    HMODULE module = LoadLibraryExW(L"gdiplus.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module)
        return TRUE;  // no splash picture; nothing is reported
    StartupFunction startup = nullptr;
    bool resolved = Resolve(module, "GdiplusStartup", startup) && Resolve(module, "GdiplusShutdown", g_shutdown) &&
                    Resolve(module, "GdipCreateBitmapFromFile", g_api.CreateBitmapFromFile) &&
                    Resolve(module, "GdipGetImageWidth", g_api.GetImageWidth) &&
                    Resolve(module, "GdipGetImageHeight", g_api.GetImageHeight) &&
                    Resolve(module, "GdipDisposeImage", g_api.DisposeImage) &&
                    Resolve(module, "GdipCreateFromHDC", g_api.CreateFromHDC) &&
                    Resolve(module, "GdipDeleteGraphics", g_api.DeleteGraphics) &&
                    Resolve(module, "GdipSetSmoothingMode", g_api.SetSmoothingMode) &&
                    Resolve(module, "GdipSetCompositingQuality", g_api.SetCompositingQuality) &&
                    Resolve(module, "GdipSetInterpolationMode", g_api.SetInterpolationMode) &&
                    Resolve(module, "GdipSetTextRenderingHint", g_api.SetTextRenderingHint) &&
                    Resolve(module, "GdipCreateImageAttributes", g_api.CreateImageAttributes) &&
                    Resolve(module, "GdipSetImageAttributesWrapMode", g_api.SetImageAttributesWrapMode) &&
                    Resolve(module, "GdipDisposeImageAttributes", g_api.DisposeImageAttributes) &&
                    Resolve(module, "GdipDrawImageRectRectI", g_api.DrawImageRectRectI);
    if (!resolved)
        return TRUE;

    StartupInput input = {1, nullptr, FALSE, FALSE};
    ULONG_PTR token = 0;
    if (startup(&token, &input, nullptr) != 0 || !token)
        return TRUE;  // a failed start-up is ignored; the token stays 0
    g_token = token;
    g_started = true;
    atexit(ShutDown);
    return TRUE;
}

}  // namespace

const Api* Started()
{
    InitOnceExecuteOnce(&g_once, Start, nullptr, nullptr);
    return g_started ? &g_api : nullptr;
}

}  // namespace gdiplus
