#include "splash/SplashWindow.h"

#include "base/GdiScope.h"
#include "splash/GdiPlus.h"
#include "splash/SplashRules.h"

namespace {

// Registers the class unless an earlier splash in this process did. A shadow
// the system refuses is given up rather than the splash.
bool RegisterSplashClass(HINSTANCE instance, WNDPROC windowProc, bool shadow)
{
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, SplashWindow::kClassName, &existing))
        return true;
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS | CS_SAVEBITS | (shadow ? CS_DROPSHADOW : 0);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = SplashWindow::kClassName;
    if (RegisterClassExW(&windowClass))
        return true;
    if (!shadow)
        return false;
    windowClass.style &= ~CS_DROPSHADOW;
    return RegisterClassExW(&windowClass) != 0;
}

// Whether the splash thread has been asked to end already: a launch that is
// over before the splash could show does not wait for it to be prepared.
bool QuitRequested()
{
    MSG quit;
    return PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

// The primary screen's pixels per inch: the splash is centred on it.
int ScreenDpi()
{
    UniqueScreenDc screen(GetDC(nullptr));
    int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : 96;
}

class ExistingFiles : public FileProbe {
public:
    bool Exists(const String& path) const override
    {
        DWORD attributes = GetFileAttributesW(path.CStr());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
};

// The decoded picture, or nothing when the library is missing or the file
// cannot be read or decoded.
gdiplus::UniqueImage LoadPicture(const gdiplus::Api* gdiPlus, const String& path)
{
    gdiplus::UniqueImage picture;
    if (gdiPlus && gdiPlus->CreateBitmapFromFile(path.CStr(), picture.put()) != 0)
        picture.reset();
    return picture;
}

}  // namespace

SplashWindow::~SplashWindow()
{
    // The splash thread has destroyed the window by now; a window that
    // outlives the object must not reach it any more.
    if (m_window && GetWindowLongPtrW(m_window, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
}

HWND SplashWindow::Create(const String& picturePath, bool shadow)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    bool registered = RegisterSplashClass(instance, WindowProc, shadow);

    int dpi = ScreenDpi();
    const gdiplus::Api* gdiPlus = QuitRequested() ? nullptr : gdiplus::Started();
    SplashPicture chosen = ChooseSplashPicture(picturePath, ScalePercent(dpi), ExistingFiles());
    gdiplus::UniqueImage picture = LoadPicture(gdiPlus, chosen.path);
    if (!picture && chosen.percent != 100) {
        chosen = SplashPicture{picturePath, 100};  // an unreadable variant: the plain picture will do
        picture = LoadPicture(gdiPlus, picturePath);
    }
    int width = 0;
    int height = 0;
    if (picture) {
        UINT w = 0;
        UINT h = 0;
        gdiPlus->GetImageWidth(picture.get(), &w);
        gdiPlus->GetImageHeight(picture.get(), &h);
        width = w <= 0x7FFFFFFF ? static_cast<int>(w) : 0;
        height = h <= 0x7FFFFFFF ? static_cast<int>(h) : 0;
    }
    // A variant is shown at its own size; the plain picture is scaled to the
    // screen's, which leaves it as it is on a screen of 96 pixels per inch.
    int shownWidth = width;
    int shownHeight = height;
    if (chosen.percent == 100) {
        shownWidth = MulDiv(width, dpi, 96);
        shownHeight = MulDiv(height, dpi, 96);
        if (shownWidth < 0 || shownHeight < 0)
            shownWidth = shownHeight = 0;  // too large to scale: nothing is shown
    }
    RenderPicture(picture.get(), width, height, shownWidth, shownHeight);
    picture.reset();

    // Making the first window of a process can cost more than the picture
    // (the window system's set-up).
    if (!registered || QuitRequested())
        return nullptr;
    int x = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), shownWidth);
    int y = CentredOrigin(GetSystemMetrics(SM_CYSCREEN), shownHeight);
    m_window = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, nullptr, WS_POPUP, x, y, shownWidth, shownHeight,
                               nullptr, nullptr, instance, this);
    return m_window;
}

void SplashWindow::RenderPicture(void* picture, int width, int height, int shownWidth, int shownHeight)
{
    m_picture.reset();
    UniqueScreenDc screen(GetDC(nullptr));
    if (!screen)
        return;
    m_picture.reset(CreateCompatibleBitmap(screen.get(), shownWidth, shownHeight));
    UniqueDc memory(CreateCompatibleDC(screen.get()));
    screen.reset();
    if (!m_picture || !memory || !picture)
        return;
    SelectionScope selected(memory.get(), m_picture.get());

    const gdiplus::Api* gdiPlus = gdiplus::Started();
    gdiplus::UniqueGraphics graphics;
    if (gdiPlus->CreateFromHDC(memory.get(), graphics.put()) != 0 || !graphics)
        return;
    gdiPlus->SetSmoothingMode(graphics.get(), gdiplus::kSmoothingHighQuality);
    gdiPlus->SetCompositingQuality(graphics.get(), gdiplus::kCompositingHighQuality);
    gdiPlus->SetInterpolationMode(graphics.get(), gdiplus::kInterpolationHighQualityBicubic);
    gdiPlus->SetTextRenderingHint(graphics.get(), gdiplus::kTextRenderingAntiAliasGridFit);
    gdiplus::UniqueAttributes attributes;
    if (gdiPlus->CreateImageAttributes(attributes.put()) != 0)
        attributes.reset();
    // Mirrored tiles beyond the edges keep a scaled picture's border from
    // blending with black.
    if (attributes)
        gdiPlus->SetImageAttributesWrapMode(attributes.get(), gdiplus::kWrapTileFlipXY, gdiplus::kOpaqueBlack, FALSE);
    // No background first: transparent parts keep the bitmap's first content.
    gdiPlus->DrawImageRectRectI(graphics.get(), static_cast<gdiplus::GpImage*>(picture), 0, 0, shownWidth,
                                shownHeight, 0, 0, width, height, gdiplus::kUnitPixel, attributes.get(), nullptr,
                                nullptr);
}

LRESULT CALLBACK SplashWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    SplashWindow* self;
    if (message == WM_NCCREATE) {
        self = static_cast<SplashWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        if (self)
            self->m_window = window;
    } else {
        self = reinterpret_cast<SplashWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (message == WM_NCDESTROY)
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return self ? self->OnMessage(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT SplashWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PaintScope paint(m_window);
        Paint(paint.Dc());
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the picture covers the whole window
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void SplashWindow::Paint(HDC dc)
{
    BITMAP size = {};
    if (!m_picture || !GetObjectW(m_picture.get(), sizeof(size), &size))
        return;
    UniqueDc memory(CreateCompatibleDC(dc));
    if (!memory)
        return;
    SelectionScope selected(memory.get(), m_picture.get());
    BitBlt(dc, 0, 0, size.bmWidth, size.bmHeight, memory.get(), 0, 0, SRCCOPY);
}
