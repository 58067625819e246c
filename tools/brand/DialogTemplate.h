#pragma once

// Extended dialog templates (DLGTEMPLATEEX with DLGITEMTEMPLATEEX items, the
// form "DIALOGEX" in a resource script gives), read from a dialog resource
// and written back. No Windows calls. Positions and sizes are dialog units.

#include "Bytes.h"

#include <string>
#include <vector>

// A class name, menu or control title: a text, or an ordinal (a predefined
// class, an icon's resource id). An empty text is "none".
struct TemplateName {
    bool isOrdinal = false;
    uint16_t ordinal = 0;
    std::wstring text;
};

constexpr uint16_t kStaticClass = 0x0082;  // the ordinal of the predefined static class

struct DialogControl {
    uint32_t helpId = 0;
    uint32_t exStyle = 0;
    uint32_t style = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    int32_t id = 0;
    TemplateName windowClass;
    TemplateName title;
    Bytes creationData;
};

struct DialogTemplate {
    uint16_t version = 1;
    uint32_t helpId = 0;
    uint32_t exStyle = 0;
    uint32_t style = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    TemplateName menu;
    TemplateName windowClass;
    std::wstring caption;
    bool hasFont = false;  // the style has DS_SETFONT; the font fields follow
    uint16_t pointSize = 0;
    uint16_t weight = 0;
    uint8_t italic = 0;
    uint8_t charset = 0;
    std::wstring typeface;
    std::vector<DialogControl> controls;
};

// False when data is not an extended dialog template or ends inside one.
bool ParseDialogTemplate(const Bytes& data, DialogTemplate& dialog);
// The template's bytes, each control aligned to four bytes; the same bytes
// the parsed resource had when nothing was changed.
Bytes BuildDialogTemplate(const DialogTemplate& dialog);
