#include "base/Trace.h"
#include "core/LauncherApp.h"
#include "jvm/ModuleOptionText.h"
#include "settings/SettingWords.h"

// The options of a modular application. They follow the class path option:
// the module path, the modules added to the root set, and for a main module
// the property that has the runtime resolve it while it starts.
void LauncherApp::AddModuleOptions(const String& modulePathSetting, const String& addModulesSetting,
                                   StringList& workingList)
{
    // Items are found as class path items are: relative ones from the
    // launcher's folder, patterns expanded, missing relative ones left out.
    String modulePath = CompactList(BuildClassPath(modulePathSetting), L';');
    JL_TRACE_IF(!modulePathSetting.IsEmpty() && modulePath.IsEmpty(),
                "\"Module Path\" %s: none of its items exists, no --module-path option", modulePathSetting.CStr());
    if (!modulePath.IsEmpty())
        workingList.Append(String(L"--module-path=") + modulePath);

    String addModules = CompactList(addModulesSetting, L',');
    if (!addModules.IsEmpty())
        workingList.Append(String(L"--add-modules=") + addModules);

    if (!m_mainModule.IsEmpty())
        workingList.Append(String(L"-Djdk.module.main=") + MainModuleName(m_mainModule));
}
