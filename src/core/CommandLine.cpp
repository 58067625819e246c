#include "core/CommandLineTokens.h"
#include "core/LauncherApp.h"

void LauncherApp::ParseCommandLine()
{
    const wchar_t* commandLine = GetCommandLineW();
    SplitCommandLine(commandLine, String::Measure(commandLine), m_arguments);
}
