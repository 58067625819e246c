#include "jvm/ExceptionDialog.h"

#include "res/resource.h"
#include "ui/DialogCentring.h"

namespace {

// A multi-line edit control breaks lines only at "\r\n": a trace printed
// with bare "\n" line ends gets the full pair.
String WithWindowsLineEnds(const String& text)
{
    String result;
    for (int i = 0; i < text.Length(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r'))
            result.Append(L'\r');
        result.Append(text[i]);
    }
    return result;
}

}  // namespace

const LayoutEntry ExceptionDialog::kLayout[] = {
    {IDC_EXCEPTION_GROUP, kSizeX | kSizeY},
    {IDC_EXCEPTION_INTRO, kSizeX},
    {IDC_EXCEPTION_WARNING, kSizeX | kMoveY},
    {IDC_EXCEPTION_CHOICE, kSizeX | kMoveY},
    {IDC_STACK_TRACE, kSizeX | kSizeY},
    {IDOK, kMoveX | kMoveY},
    {IDCANCEL, kMoveX | kMoveY},
    {-1, 0},
};

ExceptionDialog::ExceptionDialog(const String& stackTrace) : m_text(WithWindowsLineEnds(stackTrace)), m_layout(kLayout)
{
}

INT_PTR ExceptionDialog::Run(HWND owner)
{
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_EXCEPTION), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK ExceptionDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    ExceptionDialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<ExceptionDialog*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        self->m_dialog = dialog;
    } else {
        self = reinterpret_cast<ExceptionDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    }
    if (message == WM_NCDESTROY)
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
    return self ? self->OnMessage(message, wParam, lParam) : FALSE;
}

INT_PTR ExceptionDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_SIZE:
        m_layout.OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_GETMINMAXINFO:
        m_layout.OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(m_dialog, LOWORD(wParam) == IDOK ? 1 : 2);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void ExceptionDialog::OnInitDialog()
{
    SendDlgItemMessageW(m_dialog, IDC_STACK_TRACE, EM_SETLIMITTEXT, 0, 0);  // a deep trace is long
    SetDlgItemTextW(m_dialog, IDC_STACK_TRACE, m_text.CStr());
    SendDlgItemMessageW(m_dialog, IDC_STACK_TRACE, EM_SETREADONLY, TRUE, 0);
    CentreDialog(m_dialog);
    m_layout.Init(m_dialog);
}
