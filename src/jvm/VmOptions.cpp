#include "core/CommandLineTokens.h"
#include "core/LauncherApp.h"
#include "core/Messages.h"
#include "core/ModulePath.h"
#include "jvm/Environment.h"
#include "jvm/MemoryOptions.h"
#include "jvm/VmParameters.h"
#include "res/resource.h"
#include "settings/EmbeddedSettings.h"
#include "settings/MergedSettings.h"
#include "settings/SettingsPaths.h"

void LauncherApp::AddVmParameter(const String& parameter, StringList& workingList)
{
    String unquoted = RemoveQuotes(parameter);
    if (IsRelativeMemoryOption(unquoted))
        unquoted = ResolveMemoryOption(unquoted);
    // The launch thread's stack follows the size the VM gets, so a size given
    // through an environment reference (-Xss%STACK%) is read once expanded.
    String effective = unquoted.Contains(L'%') ? ExpandEnvironment(unquoted) : unquoted;
    if (effective.StartsWith(L"-Xss"))
        m_vmThreadStackSize = StackSizeFromParameter(effective);
    workingList.Append(static_cast<String&&>(unquoted));
}

bool LauncherApp::AssembleVmOptions()
{
    // The library path option could not be made in the runtime's code page.
    if (!m_optionRefusal.IsEmpty()) {
        ShowErrorMessage(m_hSplashWnd, m_optionRefusal.CStr());
        return false;
    }
    String settingsPath;
    if (!GetSettingsFilePath(settingsPath))
        return false;
    MergedSettings settings(settingsPath, LoadEmbeddedSettingsText());

    StringList unmatched;
    String classPath = BuildClassPath(settings.GetValue(L"Class Path", L"Class Path"), &unmatched);
    if (settings.GetValue(L"Application", L"Embedded Jar").EqualsNoCase(L"Yes"))
        classPath = classPath.IsEmpty() ? GetModulePath() : GetModulePath() + L";" + classPath;
    // Items that are there but match nothing (a typing error in a folder
    // name) are named, with the folder relative ones are looked up in. A main
    // module may bring everything on the module path, or inside the runtime
    // itself, and so needs no class path.
    if (classPath.IsEmpty() && !unmatched.IsEmpty()) {
        String items;
        for (const String& item : unmatched) {
            if (!items.IsEmpty())
                items += L"; ";
            items += item;
        }
        String folder = GetModuleDirectory();
        if (folder.Length() > 3)
            folder.Truncate(folder.Length() - 1);  // no final "\\" but on a drive's root
        ShowErrorMessage(m_hSplashWnd, FormatText(TextId(IDS_CLASS_PATH_UNMATCHED), folder.CStr(), items.CStr()).CStr());
        return false;
    }
    if (classPath.IsEmpty() && m_mainModule.IsEmpty()) {
        ShowErrorMessage(m_hSplashWnd, TextId(IDS_NO_CLASS_PATH));
        return false;
    }

    StringList workingList;
    if (!classPath.IsEmpty())
        workingList.Append(String(L"-Djava.class.path=") + classPath);
    AddModuleOptions(settings.GetValue(L"Java Runtime Environment", L"Module Path"),
                     settings.GetValue(L"Java Runtime Environment", L"Add Modules"), workingList);

    String parameters = settings.GetValueAsWritten(L"Java Runtime Environment", L"Virtual Machine Parameters");
    StringList split;
    SplitVmParameters(parameters, split);
    for (const String& parameter : split)
        AddVmParameter(parameter, workingList);
    for (const String& option : workingList) {
        String refusal;
        if (!AddAnsiOption(ExpandEnvironment(option), refusal)) {
            ShowErrorMessage(m_hSplashWnd, refusal.CStr());
            return false;
        }
    }
    AddClassDataSharingOptions();

    m_outputFile = settings.GetValue(L"Application", L"Output File");
    if (!m_outputFile.IsEmpty())
        m_outputFile = ExpandEnvironment(m_outputFile);
    m_outputAppend = settings.GetValue(L"Application", L"Output Append").Equals(L"yes");
    m_errorFile = settings.GetValue(L"Application", L"Error File");
    if (!m_errorFile.IsEmpty())
        m_errorFile = ExpandEnvironment(m_errorFile);
    m_errorAppend = settings.GetValue(L"Application", L"Error Append").Equals(L"yes");

    m_extraArguments = settings.GetValueAsWritten(L"Application", L"Cmd");
    if (!m_extraArguments.IsEmpty()) {
        StringList tokens;
        SplitTokens(ExpandEnvironment(m_extraArguments), tokens);
        for (String& token : tokens)
            if (!token.IsEmpty())
                m_arguments.Append(static_cast<String&&>(token));
    }
    return true;
}
