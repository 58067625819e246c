#include "core/LauncherApp.h"
#include "runtime/PeImageView.h"

// A JVM library of another machine type cannot be loaded into this process;
// with a paired launcher configured, the launch is handed over to it. Files
// that are not recognisable images leave the decision to the library load.
void LauncherApp::CheckRuntimeArchitecture()
{
    m_launchPair = false;
    if (m_pairProduct.IsEmpty())
        return;
    PeImageView image(m_jvmLibraryPath);
    if (image.IsValid() && image.Machine() != kLauncherMachine)
        m_launchPair = true;
}
