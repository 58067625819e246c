#pragma once

#include "base/UniqueResource.h"

#include <windows.h>

// Scope guards for drawing: a device context borrowed from a window, and an
// object selected into a device context until the end of the scope.

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

class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject()
    {
        if (m_previous)
            SelectObject(m_dc, m_previous);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

struct WindowTraits {
    using Type = HWND;
    static Type Invalid() { return nullptr; }
    static bool AlsoValid(Type) { return true; }
    static void Close(Type v) { DestroyWindow(v); }
};
using UniqueWindow = UniqueResource<WindowTraits>;
