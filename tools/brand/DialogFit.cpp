#include "DialogFit.h"

namespace {

constexpr int kLineHeight = 8;
constexpr int kMaxUnits = 0x7FFF;

// Lines of one paragraph at perLine characters a line.
int ParagraphLines(const std::wstring& text, size_t perLine)
{
    int lines = 1;
    size_t used = 0;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find(L' ', start);
        if (end == std::wstring::npos)
            end = text.size();
        size_t word = end - start;
        if (used == 0) {
            used = word;
        } else if (used + 1 + word <= perLine) {
            used += 1 + word;
        } else {
            ++lines;
            used = word;
        }
        start = end + 1;
    }
    return lines;
}

}  // namespace

int EstimatedTextHeight(const std::wstring& text, int width)
{
    if (text.empty())
        return 0;
    size_t perLine = width > 4 ? static_cast<size_t>(width) * 2 / 9 : 1;
    int lines = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        lines += ParagraphLines(text.substr(start, end - start), perLine);
        start = end + 1;
    }
    return lines * kLineHeight;
}

bool IsWrappedText(const DialogControl& control)
{
    const uint32_t kTypeMask = 0x1F;  // SS_TYPEMASK; SS_LEFT 0, SS_CENTER 1, SS_RIGHT 2
    return control.windowClass.isOrdinal && control.windowClass.ordinal == kStaticClass &&
           (control.style & kTypeMask) <= 2 && !control.title.isOrdinal;
}

bool GrowControl(DialogTemplate& dialog, size_t index, int height)
{
    DialogControl& grown = dialog.controls.at(index);
    int growth = height - grown.cy;
    if (growth <= 0)
        return true;
    int top = grown.y, bottom = grown.y + grown.cy, left = grown.x, right = grown.x + grown.cx;
    auto fits = [&](int value) { return value + growth <= kMaxUnits; };
    if (!fits(grown.cy) || !fits(dialog.cy))
        return false;
    for (const DialogControl& other : dialog.controls)
        if (!fits(other.y) || !fits(other.cy))
            return false;
    for (size_t i = 0; i < dialog.controls.size(); ++i) {
        DialogControl& other = dialog.controls[i];
        if (i == index)
            other.cy = static_cast<int16_t>(height);
        else if (other.y >= bottom)
            other.y = static_cast<int16_t>(other.y + growth);
        else if (other.y <= top && other.y + other.cy >= bottom && other.x <= left && other.x + other.cx >= right)
            other.cy = static_cast<int16_t>(other.cy + growth);
    }
    dialog.cy = static_cast<int16_t>(dialog.cy + growth);
    return true;
}
