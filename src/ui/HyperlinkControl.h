#pragma once

#include "base/GdiScope.h"
#include "base/Text.h"
#include "base/UniqueResource.h"

#include <windows.h>

// Turns a static text control into a web link: underlined text in the user's
// link colour, a hand cursor and a tooltip over the text, and the target
// opened by the shell on a click, Enter or Space. The control's own text is
// the label and, unless SetTarget gives another, the target.
class HyperlinkControl {
public:
    HyperlinkControl() = default;
    ~HyperlinkControl();
    HyperlinkControl(const HyperlinkControl&) = delete;
    HyperlinkControl& operator=(const HyperlinkControl&) = delete;

    // The font the text is drawn in (not owned); hand it over before Attach.
    void SetNormalFont(HFONT font) { m_normalFont = font; }
    bool HasNormalFont() const { return m_normalFont != nullptr; }

    // Subclasses window and initialises the link. False when the window
    // cannot be subclassed or already is a link.
    bool Attach(HWND window);
    void SetTarget(const String& text);
    // Opens the target; true and visited when the shell accepted it.
    bool Navigate();

    bool Visited() const { return m_visited; }
    COLORREF LinkColour() const { return m_linkColour; }
    COLORREF VisitedColour() const { return m_visitedColour; }
    const RECT& LinkRect() const { return m_linkRect; }

    // How targets are opened. The launcher always uses ShellExecuteW; tests
    // replace it to see what would be opened.
    using OpenFunction = HINSTANCE(WINAPI*)(HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*,
                                            INT);
    static OpenFunction SetOpenFunction(OpenFunction function);

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);
    void Detach();

    void Initialize();
    void CreateLinkFont();
    void RegisterTool();
    void ReadLinkColours();
    void ComputeLinkRect();
    void Paint(HDC dc);
    UINT TextFormat() const;
    const String& ShownText() const { return m_hasLabel ? m_label : m_target; }
    bool IsInLink(POINT point) const { return m_hasTarget && PtInRect(&m_linkRect, point); }

    HWND m_window = nullptr;
    WNDPROC m_previousProc = nullptr;
    String m_label;
    bool m_hasLabel = false;
    String m_target;
    bool m_hasTarget = false;
    HCURSOR m_handCursor = nullptr;
    HFONT m_normalFont = nullptr;
    UniqueGdiObject m_ownedNormalFont;  // set when m_normalFont was made here
    UniqueGdiObject m_linkFont;
    RECT m_linkRect = {};
    UniqueWindow m_tooltip;
    COLORREF m_linkColour = RGB(0, 0, 255);
    COLORREF m_visitedColour = RGB(128, 0, 128);
    bool m_paintLabel = true;
    bool m_visited = false;
};
