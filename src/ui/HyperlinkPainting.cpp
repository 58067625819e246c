// How the link measures and draws its text.

#include "ui/HyperlinkControl.h"

UINT HyperlinkControl::TextFormat() const
{
    LONG_PTR style = GetWindowLongPtrW(m_window, GWL_STYLE) & 0xFF;
    // A label without blanks (an address) is one word: it stays on one line
    // rather than being broken inside, which would hide its end below the
    // control's one line.
    UINT format = (ShownText().Contains(L' ') ? DT_WORDBREAK : DT_SINGLELINE) | DT_NOPREFIX;
    if (style == SS_CENTER)
        format |= DT_CENTER;
    else if (style == SS_RIGHT)
        format |= DT_RIGHT;
    return format;
}

void HyperlinkControl::ComputeLinkRect()
{
    if (!m_window || !IsWindow(m_window) || (!m_hasLabel && !m_hasTarget))
        return;
    RECT client = {};
    GetClientRect(m_window, &client);
    m_linkRect = client;
    if (!m_paintLabel)
        return;
    WindowDc dc(m_window);
    if (!dc.get())
        return;
    SelectionScope font(dc.get(), m_linkFont ? m_linkFont.get() : m_normalFont);
    const String& text = ShownText();
    RECT measured = client;
    UINT format = TextFormat();
    DrawTextW(dc.get(), text.CStr(), text.Length(), &measured, format | DT_CALCRECT);
    LONG freeWidth = (client.right - client.left) - (measured.right - measured.left);
    LONG shift = 0;
    if (format & DT_CENTER)
        shift = freeWidth / 2;
    else if (format & DT_RIGHT)
        shift = freeWidth;
    OffsetRect(&measured, shift, 0);
    m_linkRect = measured;
}

void HyperlinkControl::Paint(HDC dc)
{
    RECT client = {};
    GetClientRect(m_window, &client);
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(m_window), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(m_window)));
    if (brush)
        FillRect(dc, &client, brush);

    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF colour = !IsWindowEnabled(m_window) ? GetSysColor(COLOR_GRAYTEXT)
                      : m_visited               ? m_visitedColour
                                                : m_linkColour;
    COLORREF oldColour = SetTextColor(dc, colour);
    {
        SelectionScope font(dc, m_linkFont ? m_linkFont.get() : m_normalFont);
        const String& text = ShownText();
        // Not clipped to the measured rectangle, which may come out a little
        // narrower than the drawn text; the control's own edge clips.
        RECT area = m_linkRect;
        DrawTextW(dc, text.CStr(), text.Length(), &area, TextFormat() | DT_NOCLIP);
        if (GetFocus() == m_window)
            DrawFocusRect(dc, &m_linkRect);
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}
