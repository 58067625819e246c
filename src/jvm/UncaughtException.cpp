#include "core/LauncherApp.h"
#include "jvm/ExceptionDialog.h"

bool LauncherApp::ShowUncaughtException(jthrowable throwable)
{
    String text = GetStackTraceText(throwable);
    if (text.IsEmpty())
        return false;  // nothing to show; the exception stays unanswered
    ExceptionDialog dialog(text);
    if (dialog.Run(GetActiveWindow()) != 1)
        return true;
    m_mainExitCode = 0;  // the user chose to go on
    return false;
}
