// How the launcher meets its user. This file is built twice: with JL_CONSOLE
// 0 into the GUI launcher, which shows message boxes, the splash screen, the
// runtime-not-found dialog and the uncaught-exception dialog; with JL_CONSOLE
// 1 into the console launcher, which has none of them and writes its messages
// to the standard error stream of the console, pipe or file it was given.
#include "core/LauncherApp.h"
#include "core/Messages.h"

#if JL_CONSOLE

#include "base/ResourceText.h"
#include "res/resource.h"
#include "runtime/Version.h"

int PresentMessage(HWND, const wchar_t* text, const wchar_t* caption)
{
    return WriteMessageLine(GetStdHandle(STD_ERROR_HANDLE), caption, text) ? IDOK : 0;
}

// No splash, whatever "Display" says.
bool LauncherApp::ShowSplashScreen()
{
    return true;
}

// Nobody can pick a runtime in a console program: the message names the
// requirement and where to get a runtime, and the launch ends as if the
// user had cancelled.
bool LauncherApp::OfferRuntimeChoice()
{
    String requirement = BuildRequirementText(m_versionRequirement.minimum, m_versionRequirement.maximum);
    unsigned format = m_jvmType == JvmType::Server ? IDS_NO_SERVER_JRE : IDS_NO_JRE;
    String message = FormatText(TextId(format), requirement.CStr());
    message.Append(L' ');
    message.Append(m_downloadUrl.IsEmpty() ? String(L"" JL_DOWNLOAD_ADDRESS) : m_downloadUrl);
    ShowErrorMessage(nullptr, message.CStr());
    return false;
}

// The runtime prints the exception when the launch thread leaves it, and the
// exit code is 1, whatever "Failure Check" says.
bool LauncherApp::ConfirmStopAfterException(jthrowable)
{
    return false;
}

#else

int PresentMessage(HWND owner, const wchar_t* text, const wchar_t* caption)
{
    return MessageBoxW(owner, text, caption, MB_ICONERROR);
}

bool LauncherApp::ShowSplashScreen()
{
    // The switches stay in m_arguments and reach main like any argument.
    bool noSplash = false;
    for (const String& argument : m_arguments)
        noSplash = noSplash || argument.Equals(L"-nosplash");
    for (const String& argument : m_arguments)
        noSplash = noSplash || argument.Equals(L"/nosplash");
    return noSplash || StartSplash();
}

bool LauncherApp::OfferRuntimeChoice()
{
    return AskForRuntime();
}

bool LauncherApp::ConfirmStopAfterException(jthrowable throwable)
{
    CloseSplashWindow();  // before anything else is shown
    return m_failureCheck && ShowUncaughtException(throwable);
}

#endif
