#include "base/ResourceText.h"
#include "core/LauncherApp.h"
#include "res/resource.h"
#include "runtime/RuntimeFitness.h"
#include "runtime/RuntimeNotFoundDialog.h"
#include "settings/SettingsPaths.h"

// The last source of a runtime: the user picks a runtime folder, which must
// hold a runtime in the version window that this launcher or its pair can
// load. On OK the validated library is in m_jvmLibraryPath and the folder is
// remembered as "JRE Path", so that the next start finds it first;
// FindRuntime then checks the library's architecture. Cancel ends the launch.
bool LauncherApp::AskForRuntime()
{
    String requirement = BuildRequirementText(m_versionRequirement.minimum, m_versionRequirement.maximum);
    unsigned format = m_jvmType == JvmType::Server ? IDS_NO_SERVER_JRE : IDS_NO_JRE;
    RuntimeNotFoundDialog dialog(FormatText(TextId(format), requirement.CStr()), m_jvmType, RuntimeNeedsOf(*this));
    dialog.SetDownloadUrl(m_downloadUrl);
    if (dialog.Show(GetActiveWindow()) != IDOK)
        return false;
    m_jvmLibraryPath = dialog.ChosenJvmLibrary();
    StoreChosenRuntimeFolder(*this, dialog.ChosenFolder());
    return true;
}
