#pragma once

#include "base/Text.h"
#include "ui/DialogLayout.h"

#include <windows.h>

// Dialog 231: an uncaught exception's stack trace, read-only, with the
// choice to ignore it ("Abaikan", 1) or to stop the application ("Stop",
// 2; also the close box and Escape). The dialog can be resized; the text
// grows with it.
class ExceptionDialog {
public:
    explicit ExceptionDialog(const String& stackTrace);
    ExceptionDialog(const ExceptionDialog&) = delete;
    ExceptionDialog& operator=(const ExceptionDialog&) = delete;

    // Runs the dialog modally; the id of the button that closed it, or -1
    // when the dialog cannot be created.
    INT_PTR Run(HWND owner);

    // The anchor table of the dialog's controls.
    static const LayoutEntry kLayout[];

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();

    HWND m_dialog = nullptr;
    String m_text;
    DialogLayout m_layout;
};
