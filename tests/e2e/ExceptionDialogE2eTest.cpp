#include "e2e/DisplayE2eSupport.h"
#include "support/pixels/WindowPixels.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const wchar_t* const kThrowsIni =
    L"[Java Runtime Environment]\nMain Class=test.HoldThrows\n[Class Path]\nClass Path=C:\\app.jar\n"
    L"[Application]\nFailure Check=Yes\n";

// Presses Escape in the dialog, where its keyboard focus is.
void PressEscape(HWND dialog)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
    HWND target = GetGUIThreadInfo(thread, &info) && info.hwndFocus ? info.hwndFocus : dialog;
    PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

}  // namespace

TEST(ExceptionDialogE2e, TheStackTraceIsShownAndAbaikanGoesOn)
{
    JvmApp app(kThrowsIni);
    std::vector<SeenWindow> dialogs;
    LaunchOptions options;
    options.onWindow = [&](const SeenWindow& window) {
        dialogs.push_back(window);
        return IDOK;  // "Abaikan"
    };
    LaunchResult result = app.Run(options);
    EXPECT_EQ(0u, result.exitCode);
    ASSERT_EQ(1u, dialogs.size());
    EXPECT_EQ(L"Pengecualian Java", dialogs[0].title);
    EXPECT_EQ(L"Abaikan", dialogs[0].controlTexts[IDOK]);
    EXPECT_EQ(L"Stop", dialogs[0].controlTexts[IDCANCEL]);
    EXPECT_EQ(L"java.lang.IllegalStateException: gagal: \u00fcber \u65e5\u672c \U0001F600\r\n"
              L"\tat test.HoldThrows.main(Main.java)\r\n",
              dialogs[0].controlTexts[208])
        << Show(dialogs[0].controlTexts[208]);
    // The exception went to the program's error stream once, and the program was not stopped.
    FakeJvmLog log = app.Log();
    EXPECT_EQ(1u, log.Values(L"describe").size());
    EXPECT_FALSE(log.Has(L"exit"));
    EXPECT_FALSE(log.Has(L"uncaught"));
}

TEST(ExceptionDialogE2e, StopTheCloseBoxAndEscapeEndTheProgram)
{
    struct Row {
        const char* name;
        std::function<int(HWND)> answer;  // returns the button to press, or 0
    };
    const Row rows[] = {
        {"Stop", [](HWND) { return IDCANCEL; }},
        {"close box",
         [](HWND dialog) {
             PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
             return 0;
         }},
        {"Escape",
         [](HWND dialog) {
             PressEscape(dialog);
             return 0;
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        JvmApp app(kThrowsIni);
        int dialogs = 0;
        LaunchOptions options;
        options.onWindow = [&](const SeenWindow& window) {
            ++dialogs;
            return row.answer(window.hwnd);
        };
        LaunchResult result = app.Run(options);
        EXPECT_EQ(kLaunchFailed, result.exitCode);
        EXPECT_EQ(1, dialogs);
        EXPECT_EQ((std::vector<std::wstring>{L"-1"}), app.Log().Values(L"exit"));
    }
}

// Looked at as a user sees it: the whole background painted (the group box
// covers nearly all of it), every text whole, at its first size and grown.
TEST(ExceptionDialogE2e, PixelsBackgroundAndTexts)
{
    JvmApp app(kThrowsIni);
    ScopedScreenDpi dpi(RequestedTestDpi());
    int dialogs = 0;
    LaunchOptions options;
    options.onWindow = [&](const SeenWindow& window) {
        ++dialogs;
        // Laid out in the template's font at the launcher's DPI: the buttons are 14 units high.
        TemplateFont font(L"MS Shell Dlg", 8);
        RECT button = {};
        GetClientRect(GetDlgItem(window.hwnd, IDOK), &button);
        EXPECT_EQ(font.UnitsHigh(14), button.bottom) << "at " << LauncherDpi() << " DPI";
        EXPECT_EQ(std::vector<std::string>(), DialogBackgroundFaults(window.hwnd));
        EXPECT_EQ(std::vector<std::string>(), CutTexts(window.hwnd, font));
        // Grown, too; only at this process's own DPI, as Wine scales a size
        // set from a process of another DPI.
        if (RequestedTestDpi() == 0) {
            RECT frame = {};
            GetWindowRect(window.hwnd, &frame);
            SetWindowPos(window.hwnd, nullptr, 0, 0, frame.right - frame.left + 100, frame.bottom - frame.top + 50,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            EXPECT_EQ(std::vector<std::string>(), DialogBackgroundFaults(window.hwnd)) << "grown";
        }
        return IDOK;
    };
    LaunchResult result = app.Run(options);
    EXPECT_EQ(0u, result.exitCode);
    EXPECT_EQ(1, dialogs);
}
