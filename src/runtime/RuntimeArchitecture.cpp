#include "core/LauncherApp.h"
#include "runtime/PeImageView.h"
#include "runtime/RuntimeTrace.h"

// A JVM library of another machine type cannot be loaded into this process;
// with a paired launcher configured, the launch is handed over to it. Files
// that are not recognisable images leave the decision to the library load.
void LauncherApp::CheckRuntimeArchitecture()
{
    m_launchPair = false;
    JL_TRACE_IF(m_pairProduct.IsEmpty(), "architecture not checked: no \"Pair Product\"");
    if (m_pairProduct.IsEmpty())
        return;
    PeImageView image(m_jvmLibraryPath);
    if (image.IsValid() && image.Machine() != kLauncherMachine)
        m_launchPair = true;
    JL_TRACE("architecture: %s is %s%s", m_jvmLibraryPath.CStr(),
             image.IsValid() ? MachineName(image.Machine()) : L"no readable image",
             m_launchPair ? L": the launch goes to \"Pair Product\"" : L"");
}
