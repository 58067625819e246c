#include "jvm/ExceptionDialog.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <future>
#include <map>
#include <thread>

namespace {

// The dialog once it is shown, that is once WM_INITDIALOG is done.
BOOL CALLBACK FindDialog(HWND window, LPARAM param)
{
    if (!IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

// The exception dialog, run modally on a thread of its own as the launcher
// runs it, and looked at from here.
class RunningDialog {
public:
    explicit RunningDialog(const wchar_t* text)
    {
        std::promise<DWORD> threadId;
        std::future<DWORD> started = threadId.get_future();
        m_thread = std::thread([this, text, &threadId] {
            threadId.set_value(GetCurrentThreadId());
            ExceptionDialog dialog{String(text)};
            m_result = dialog.Run(nullptr);
        });
        DWORD id = started.get();
        for (ULONGLONG deadline = GetTickCount64() + 20000; !m_dialog && GetTickCount64() < deadline; Sleep(20))
            EnumThreadWindows(id, FindDialog, reinterpret_cast<LPARAM>(&m_dialog));
    }
    ~RunningDialog()
    {
        if (m_dialog)
            PostMessageW(m_dialog, WM_COMMAND, IDCANCEL, 0);
        if (m_thread.joinable())
            m_thread.join();
    }
    HWND Dialog() const { return m_dialog; }
    INT_PTR End(int command)
    {
        SendMessageW(m_dialog, WM_COMMAND, command, 0);
        m_thread.join();
        m_dialog = nullptr;
        return m_result;
    }

private:
    std::thread m_thread;
    HWND m_dialog = nullptr;
    INT_PTR m_result = 0;
};

RECT ControlRect(HWND dialog, int id)
{
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE WindowSize(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

TEST(ExceptionDialog, ShowsTheTraceReadOnlyWithWindowsLineEnds)
{
    RunningDialog running(L"java.lang.Error: x\n\tat a.B.main(B.java)\r\n");
    HWND dialog = running.Dialog();
    ASSERT_NE(nullptr, dialog);
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, IDC_STACK_TRACE, text, 256);
    EXPECT_STREQ(L"java.lang.Error: x\r\n\tat a.B.main(B.java)\r\n", text);
    EXPECT_TRUE(GetWindowLongPtrW(GetDlgItem(dialog, IDC_STACK_TRACE), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(1, running.End(IDOK));
}

TEST(ExceptionDialog, GrowingMovesAndStretchesTheControlsByTheTable)
{
    RunningDialog running(L"trace");
    HWND dialog = running.Dialog();
    ASSERT_NE(nullptr, dialog);
    HWND grip = GetDlgItem(dialog, DialogLayout::kGripId);
    ASSERT_NE(nullptr, grip);
    const int ids[] = {IDC_EXCEPTION_GROUP, IDC_ERROR_ICON, IDC_EXCEPTION_INTRO, IDC_STACK_TRACE,
                       IDC_EXCEPTION_CHOICE, IDC_EXCEPTION_WARNING, IDOK, IDCANCEL, DialogLayout::kGripId};
    std::map<int, RECT> before;
    for (int id : ids)
        before[id] = ControlRect(dialog, id);

    SIZE first = WindowSize(dialog);
    SetWindowPos(dialog, nullptr, 0, 0, first.cx + 100, first.cy + 50, SWP_NOMOVE | SWP_NOZORDER);
    // How far each edge (left, top, right, bottom) of each control moved.
    struct Row {
        int id;
        LONG left, top, right, bottom;
    };
    const Row rows[] = {
        {IDC_EXCEPTION_GROUP, 0, 0, 100, 50},   {IDC_ERROR_ICON, 0, 0, 0, 0},
        {IDC_EXCEPTION_INTRO, 0, 0, 100, 0},    {IDC_STACK_TRACE, 0, 0, 100, 50},
        {IDC_EXCEPTION_CHOICE, 0, 50, 100, 50}, {IDC_EXCEPTION_WARNING, 0, 50, 100, 50},
        {IDOK, 100, 50, 100, 50},               {IDCANCEL, 100, 50, 100, 50},
        {DialogLayout::kGripId, 100, 50, 100, 50},
    };
    for (const Row& row : rows) {
        RECT now = ControlRect(dialog, row.id);
        const RECT& was = before[row.id];
        EXPECT_EQ(row.left, now.left - was.left) << "control " << row.id;
        EXPECT_EQ(row.top, now.top - was.top) << "control " << row.id;
        EXPECT_EQ(row.right, now.right - was.right) << "control " << row.id;
        EXPECT_EQ(row.bottom, now.bottom - was.bottom) << "control " << row.id;
    }

    // It cannot become smaller than it was made.
    SetWindowPos(dialog, nullptr, 0, 0, first.cx - 60, first.cy - 40, SWP_NOMOVE | SWP_NOZORDER);
    SIZE smallest = WindowSize(dialog);
    EXPECT_EQ(first.cx, smallest.cx);
    EXPECT_EQ(first.cy, smallest.cy);
    RECT back = ControlRect(dialog, IDOK);
    EXPECT_EQ(before[IDOK].left, back.left);
    EXPECT_EQ(before[IDOK].top, back.top);

    // Maximised it needs no grip; restored it has one again.
    ShowWindow(dialog, SW_MAXIMIZE);
    EXPECT_FALSE(IsWindowVisible(grip));
    ShowWindow(dialog, SW_RESTORE);
    EXPECT_TRUE(IsWindowVisible(grip));
    EXPECT_EQ(2, running.End(IDCANCEL));
}
