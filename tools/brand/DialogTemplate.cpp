#include "DialogTemplate.h"

namespace {

constexpr uint32_t kSetFont = 0x40;  // DS_SETFONT (DS_SHELLFONT includes it)

// A reader that moves along the template and fails for good at its end.
struct Reader {
    const Bytes& data;
    size_t at = 0;
    bool ok = true;

    uint16_t U16()
    {
        uint16_t value = 0;
        ok = ok && ReadU16(data, at, value);
        at += 2;
        return value;
    }
    uint32_t U32()
    {
        uint32_t value = 0;
        ok = ok && ReadU32(data, at, value);
        at += 4;
        return value;
    }
    int16_t Short() { return static_cast<int16_t>(U16()); }
    uint8_t Byte()
    {
        ok = ok && at < data.size();
        return ok ? data[at++] : 0;
    }
    std::wstring Text()
    {
        std::wstring text;
        for (uint16_t c = U16(); ok && c != 0; c = U16())
            text += static_cast<wchar_t>(c);
        return text;
    }
    TemplateName Name()
    {
        TemplateName name;
        uint16_t first = U16();
        if (first == 0xFFFF) {
            name.isOrdinal = true;
            name.ordinal = U16();
        } else if (first != 0) {
            at -= 2;
            name.text = Text();
        }
        return name;
    }
    void Align() { at = (at + 3) & ~size_t(3); }
};

// Position and size, of the dialog or of a control.
template <typename Item>
void ReadPlace(Reader& in, Item& item)
{
    item.x = in.Short();
    item.y = in.Short();
    item.cx = in.Short();
    item.cy = in.Short();
}

template <typename Item>
void PutPlace(Bytes& data, const Item& item)
{
    for (int16_t value : {item.x, item.y, item.cx, item.cy})
        PutU16(data, static_cast<uint16_t>(value));
}

void PutText(Bytes& data, const std::wstring& text)
{
    for (wchar_t c : text)
        PutU16(data, static_cast<uint16_t>(c));
    PutU16(data, 0);
}

void PutName(Bytes& data, const TemplateName& name)
{
    if (name.isOrdinal) {
        PutU16(data, 0xFFFF);
        PutU16(data, name.ordinal);
    } else {
        PutText(data, name.text);
    }
}

void Align(Bytes& data)
{
    while (data.size() % 4)
        data.push_back(0);
}

}  // namespace

bool ParseDialogTemplate(const Bytes& data, DialogTemplate& dialog)
{
    dialog = DialogTemplate();
    Reader in{data};
    dialog.version = in.U16();
    if (!in.ok || dialog.version != 1 || in.U16() != 0xFFFF)
        return false;
    dialog.helpId = in.U32();
    dialog.exStyle = in.U32();
    dialog.style = in.U32();
    uint16_t count = in.U16();
    ReadPlace(in, dialog);
    dialog.menu = in.Name();
    dialog.windowClass = in.Name();
    dialog.caption = in.Text();
    dialog.hasFont = (dialog.style & kSetFont) != 0;
    if (dialog.hasFont) {
        dialog.pointSize = in.U16();
        dialog.weight = in.U16();
        dialog.italic = in.Byte();
        dialog.charset = in.Byte();
        dialog.typeface = in.Text();
    }
    for (uint16_t i = 0; in.ok && i < count; ++i) {
        in.Align();
        DialogControl control;
        control.helpId = in.U32();
        control.exStyle = in.U32();
        control.style = in.U32();
        ReadPlace(in, control);
        control.id = static_cast<int32_t>(in.U32());
        control.windowClass = in.Name();
        control.title = in.Name();
        uint16_t extra = in.U16();
        if (in.ok && (in.at > data.size() || data.size() - in.at < extra))
            return false;
        if (in.ok)
            control.creationData.assign(data.begin() + in.at, data.begin() + in.at + extra);
        in.at += extra;
        dialog.controls.push_back(control);
    }
    return in.ok;
}

Bytes BuildDialogTemplate(const DialogTemplate& dialog)
{
    Bytes data;
    PutU16(data, dialog.version);
    PutU16(data, 0xFFFF);
    PutU32(data, dialog.helpId);
    PutU32(data, dialog.exStyle);
    PutU32(data, dialog.style);
    PutU16(data, static_cast<uint16_t>(dialog.controls.size()));
    PutPlace(data, dialog);
    PutName(data, dialog.menu);
    PutName(data, dialog.windowClass);
    PutText(data, dialog.caption);
    if (dialog.hasFont) {
        PutU16(data, dialog.pointSize);
        PutU16(data, dialog.weight);
        data.push_back(dialog.italic);
        data.push_back(dialog.charset);
        PutText(data, dialog.typeface);
    }
    for (const DialogControl& control : dialog.controls) {
        Align(data);
        PutU32(data, control.helpId);
        PutU32(data, control.exStyle);
        PutU32(data, control.style);
        PutPlace(data, control);
        PutU32(data, static_cast<uint32_t>(control.id));
        PutName(data, control.windowClass);
        PutName(data, control.title);
        PutU16(data, static_cast<uint16_t>(control.creationData.size()));
        data.insert(data.end(), control.creationData.begin(), control.creationData.end());
    }
    return data;
}
