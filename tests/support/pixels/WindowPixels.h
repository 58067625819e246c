#pragma once

// What a window of another process shows, read the way a user sees it: from
// the screen. Windows are looked at in physical pixels (this process is made
// DPI-aware on first use), so a launcher started at another DPI is measured
// as it is drawn.

#include <windows.h>

#include <string>
#include <vector>

// Makes this process see the windows of others in physical pixels (once; an
// unaware process would see their rectangles scaled to its own DPI). Every
// function here calls it; call it before reading a window's rectangle.
void SeePhysicalPixels();

// The colours of a screen rectangle, row by row.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> colours;
    COLORREF At(int x, int y) const { return colours[static_cast<size_t>(y) * width + x]; }
};

// The rectangle as the screen shows it now; empty when it has no area.
Pixels CaptureScreen(const RECT& area);

// The font a dialog template names, made here as the dialog manager makes
// it for a launcher running at LauncherDpi(). (A font of another process
// cannot be read: its handle means nothing here.)
class TemplateFont {
public:
    TemplateFont(const wchar_t* face, int points);
    ~TemplateFont();
    TemplateFont(const TemplateFont&) = delete;
    TemplateFont& operator=(const TemplateFont&) = delete;
    HFONT Get() const { return m_font; }
    // Vertical dialog units in pixels: the font's height is 8 units.
    int UnitsHigh(int units) const;

private:
    HFONT m_font;
};

// Problems a user would see in a dialog, each described in one line:
// - pixels of its client area outside its controls (inside a group box
//   included) that are not the system's dialog background colour;
// - static texts that do not fit their control when measured in the
//   dialog's font with word breaks at the control's width.
// The dialog is raised above other windows first; a dialog that is still
// being painted is looked at again for a few seconds before a fault counts.
std::vector<std::string> DialogBackgroundFaults(HWND dialog);
std::vector<std::string> CutTexts(HWND dialog, const TemplateFont& font);

// The DPI this test sets for the launchers it starts (JL_TEST_DPI), or 0 to
// leave the prefix's own setting.
int RequestedTestDpi();
// The screen DPI that launchers started now get.
int LauncherDpi();

// Sets the DPI of the test prefix's user (HKCU\Control Panel\Desktop,
// "LogPixels") for the processes started while the object lives, and puts
// the earlier value (or its absence) back afterwards. dpi 0 changes nothing.
// Every Wine process reads the value when it starts, so tests that use this
// must not run beside others (CTest RUN_SERIAL).
class ScopedScreenDpi {
public:
    explicit ScopedScreenDpi(int dpi);
    ~ScopedScreenDpi();
    ScopedScreenDpi(const ScopedScreenDpi&) = delete;
    ScopedScreenDpi& operator=(const ScopedScreenDpi&) = delete;

private:
    bool m_changed = false;
    bool m_hadValue = false;
    DWORD m_oldValue = 0;
};
