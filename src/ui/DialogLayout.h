#pragma once

#include "base/List.h"

#include <windows.h>

// Anchors of a control in a resizable dialog: which of its edges follow the
// dialog's growth.
enum LayoutAnchor : unsigned {
    kSizeX = 0x01,    // the right edge moves with the width
    kSizeY = 0x02,    // the bottom edge moves with the height
    kMoveX = 0x04,    // both horizontal edges move with the width
    kMoveY = 0x08,    // both vertical edges move with the height
    kRepaint = 0x10,  // invalidated after each re-layout
};

// One row of a dialog's anchor table; a table ends with {-1, 0}.
struct LayoutEntry {
    int controlId;
    unsigned flags;
};

// Where a control goes when the client area is dx, dy larger than at the
// start: only the edges its flags name change, each computed from the
// recorded rectangle; the others stay as current has them.
RECT LayOutControl(const RECT& recorded, const RECT& current, unsigned flags, int dx, int dy);

// Makes a dialog resizable: a size grip in the lower right corner, no size
// below the one it was created with, and controls moved and stretched by an
// anchor table whenever the size changes.
class DialogLayout {
public:
    explicit DialogLayout(const LayoutEntry* table) : m_table(table) {}
    DialogLayout(const DialogLayout&) = delete;
    DialogLayout& operator=(const DialogLayout&) = delete;

    // From WM_INITDIALOG, once the dialog has its texts and position. The
    // dialog clips its children while it is redrawn, unless a group box is
    // among them: the parent must paint the group box's interior itself.
    void Init(HWND dialog);
    void OnSize(UINT type, int width, int height);
    void OnGetMinMaxInfo(MINMAXINFO* info) const;

    static constexpr int kGripId = 0xE801;

private:
    struct Record {
        int controlId;
        unsigned flags;
        RECT rect;  // in the dialog's client coordinates, at Init
    };
    void AddRecord(int controlId, unsigned flags);
    void LayOut(int width, int height);

    const LayoutEntry* m_table;
    HWND m_dialog = nullptr;
    List<Record> m_records;
    int m_initialWidth = 0;
    int m_initialHeight = 0;
    int m_minimumWidth = -1;
    int m_minimumHeight = -1;
    bool m_hasGrip = false;
};
