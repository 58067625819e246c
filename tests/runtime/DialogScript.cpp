#include "runtime/DialogScript.h"

#include "base/Text.h"
#include "res/resource.h"
#include "runtime/RuntimeNotFoundDialog.h"

#include <gtest/gtest.h>

namespace runtime_test {

namespace {

DialogScript* g_script = nullptr;
std::vector<std::wstring> g_answers;
size_t g_asked = 0;
FolderPicker g_previousPicker = nullptr;

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM param)
{
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (IsWindowVisible(window) && lstrcmpW(className, L"#32770") == 0) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

bool AnswerFromList(HWND, String& folder)
{
    size_t index = g_asked++;
    if (index >= g_answers.size() || g_answers[index].empty())
        return false;
    folder = String(g_answers[index].c_str(), static_cast<int>(g_answers[index].size()));
    return true;
}

}  // namespace

DialogScript::DialogScript(std::function<void(HWND)> script) : m_script(std::move(script))
{
    g_script = this;
    m_timer = SetTimer(nullptr, 0, 20, &DialogScript::OnTimer);
}

DialogScript::~DialogScript()
{
    if (m_timer)
        KillTimer(nullptr, m_timer);
    g_script = nullptr;
}

void CALLBACK DialogScript::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    DialogScript* self = g_script;
    if (!self || self->m_ran)
        return;
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindVisibleDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return;
    KillTimer(nullptr, self->m_timer);
    self->m_timer = 0;
    self->m_ran = true;
    self->m_script(dialog);
    // EndDialog hides the dialog at once; one still shown was left open.
    if (IsWindow(dialog) && IsWindowVisible(dialog))
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

PickerAnswers::PickerAnswers(std::vector<std::wstring> answers)
{
    g_answers = std::move(answers);
    g_asked = 0;
    g_previousPicker = SetFolderPicker(AnswerFromList);
}

PickerAnswers::~PickerAnswers()
{
    SetFolderPicker(g_previousPicker);
    g_answers.clear();
}

size_t PickerAnswers::Asked() const
{
    return g_asked;
}

bool PickAndPress(const std::wstring& folder, int button, const std::function<bool()>& ask)
{
    PickerAnswers answers({folder});
    DialogScript script([&](HWND dialog) {
        PressBrowse(dialog);
        PressButton(dialog, button);
    });
    bool result = ask();
    EXPECT_TRUE(script.Ran()) << "no dialog was shown";
    return result;
}

void PressBrowse(HWND dialog)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_BROWSE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_BROWSE)));
}

void PressButton(HWND dialog, int id)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::wstring ControlText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthW(control);
    std::wstring text(length + 1, L'\0');
    text.resize(GetWindowTextW(control, &text[0], length + 1));
    return text;
}

bool ControlEnabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

}  // namespace runtime_test
