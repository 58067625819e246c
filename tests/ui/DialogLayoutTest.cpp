#include "ui/DialogCentring.h"
#include "ui/DialogLayout.h"

#include <gtest/gtest.h>

namespace {

bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Show(const RECT& r)
{
    return "{" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + "}";
}

}  // namespace

TEST(DialogLayout, EachAnchorMovesOnlyItsEdges)
{
    // Recorded at 10,20-110,70; the control has since been put at 1,2-3,4
    // (edges no flag names stay there); the dialog grew by 30 x 7.
    const RECT recorded = {10, 20, 110, 70};
    const RECT current = {1, 2, 3, 4};
    struct Row {
        unsigned flags;
        RECT expected;
    };
    const Row rows[] = {
        {0, {1, 2, 3, 4}},
        {kSizeX, {1, 2, 140, 4}},
        {kSizeY, {1, 2, 3, 77}},
        {kMoveX, {40, 2, 140, 4}},
        {kMoveY, {1, 27, 3, 77}},
        {kSizeX | kSizeY, {1, 2, 140, 77}},
        {kMoveX | kMoveY, {40, 27, 140, 77}},
        {kSizeX | kMoveY, {1, 27, 140, 77}},
        {kSizeX | kMoveX, {40, 2, 140, 4}},
        {kRepaint, {1, 2, 3, 4}},
    };
    for (const Row& row : rows) {
        RECT laidOut = LayOutControl(recorded, current, row.flags, 30, 7);
        EXPECT_TRUE(laidOut == row.expected) << "flags " << row.flags << ": " << Show(laidOut);
    }
    // Shrinking below the start moves the other way.
    RECT shrunk = LayOutControl(recorded, recorded, kMoveX | kSizeY, -5, -8);
    EXPECT_TRUE(shrunk == (RECT{5, 20, 105, 62})) << Show(shrunk);
}

TEST(DialogCentring, CentredThenKeptInsideTheWorkArea)
{
    const RECT work = {0, 0, 1280, 1000};
    struct Row {
        RECT dialog;
        RECT reference;
        POINT expected;
    };
    const Row rows[] = {
        {{0, 0, 200, 100}, {0, 0, 1280, 1000}, {540, 450}},     // over the work area
        {{0, 0, 201, 101}, {100, 100, 400, 300}, {149, 149}},   // over an owner; halves truncate
        {{0, 0, 200, 100}, {1200, 950, 1400, 1050}, {1080, 900}},  // pulled back in at right and bottom
        {{0, 0, 200, 100}, {-300, -200, -100, -100}, {0, 0}},   // and at left and top
        {{0, 0, 1500, 1200}, {0, 0, 1280, 1000}, {0, 0}},       // too large: top-left stays visible
    };
    for (const Row& row : rows) {
        POINT p = CentredDialogPosition(row.dialog, row.reference, work);
        EXPECT_EQ(row.expected.x, p.x) << Show(row.reference);
        EXPECT_EQ(row.expected.y, p.y) << Show(row.reference);
    }
}

TEST(DialogLayout, ClipsItsChildrenUnlessAGroupBoxIsAmongThem)
{
    // A group box erases nothing: under a clipping parent its inside would
    // never be painted.
    for (bool groupBox : {false, true}) {
        HWND dialog = CreateWindowExW(0, L"#32770", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, dialog);
        CreateWindowExW(0, L"Button", L"frame", WS_CHILD | WS_VISIBLE | (groupBox ? BS_GROUPBOX : BS_PUSHBUTTON), 5,
                        5, 190, 90, dialog, reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr), nullptr);
        const LayoutEntry table[] = {{1, kSizeX | kSizeY}, {-1, 0}};
        DialogLayout layout(table);
        layout.Init(dialog);
        EXPECT_EQ(!groupBox, (GetWindowLongPtrW(dialog, GWL_STYLE) & WS_CLIPCHILDREN) != 0) << groupBox;
        DestroyWindow(dialog);
    }
}
