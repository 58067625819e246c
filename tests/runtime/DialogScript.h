#pragma once

// Drives a modal dialog of this thread from inside its own message loop: a
// thread timer waits for the dialog to be shown and runs a script on it. The
// folder browser is replaced by a picker that answers from a list.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace runtime_test {

// Runs script once on the first visible dialog of this thread, then posts
// IDCANCEL to it, so that a script that leaves the dialog open cannot make the
// test hang. A dialog that ended by itself is left alone.
class DialogScript {
public:
    explicit DialogScript(std::function<void(HWND dialog)> script);
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    bool Ran() const { return m_ran; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    std::function<void(HWND)> m_script;
    UINT_PTR m_timer = 0;
    bool m_ran = false;
};

// While it lives, Browse answers with the next folder of the list; an empty
// entry, or the end of the list, is a cancelled browser.
class PickerAnswers {
public:
    explicit PickerAnswers(std::vector<std::wstring> answers);
    ~PickerAnswers();
    PickerAnswers(const PickerAnswers&) = delete;
    PickerAnswers& operator=(const PickerAnswers&) = delete;
    size_t Asked() const;
};

// Runs ask, which shows the runtime-not-found dialog, and answers the dialog
// like a user: Browse picks folder, then button is pressed. Returns what ask
// returned.
bool PickAndPress(const std::wstring& folder, int button, const std::function<bool()>& ask);

// Presses Browse and waits for its answer (the picker answers synchronously).
void PressBrowse(HWND dialog);
void PressButton(HWND dialog, int id);
std::wstring ControlText(HWND dialog, int id);
bool ControlEnabled(HWND dialog, int id);

}  // namespace runtime_test
