#pragma once

#include "base/UniqueResource.h"

#include <windows.h>

// Scopes for GDI state that is borrowed rather than created: the screen's
// or a window's device context, an object selected into a device context,
// and a paint cycle. Each gives back what it took when it ends, on every
// return path. Also the owner of a window this code creates.

struct ScreenDcTraits {  // GetDC(nullptr)
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static bool AlsoValid(Type) { return true; }
    static void Close(Type v) { ReleaseDC(nullptr, v); }
};
using UniqueScreenDc = UniqueResource<ScreenDcTraits>;

// A window's device context.
class WindowDc {
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    ~WindowDc()
    {
        if (m_dc)
            ReleaseDC(m_window, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

struct WindowTraits {
    using Type = HWND;
    static Type Invalid() { return nullptr; }
    static bool AlsoValid(Type) { return true; }
    static void Close(Type v) { DestroyWindow(v); }
};
using UniqueWindow = UniqueResource<WindowTraits>;

// Selects object into dc and restores the earlier selection; a null object
// selects nothing.
class SelectionScope {
public:
    SelectionScope(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectionScope()
    {
        if (m_previous && m_previous != HGDI_ERROR)
            SelectObject(m_dc, m_previous);
    }
    SelectionScope(const SelectionScope&) = delete;
    SelectionScope& operator=(const SelectionScope&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND window) : m_window(window) { BeginPaint(window, &m_paint); }
    ~PaintScope() { EndPaint(m_window, &m_paint); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Dc() const { return m_paint.hdc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint;
};
