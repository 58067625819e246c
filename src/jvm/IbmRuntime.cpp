#include "core/LauncherApp.h"
#include "jvm/Environment.h"
#include "runtime/ReleaseFile.h"

namespace {

bool ReleaseFileNamesIbm(const String& home)
{
    AnsiString bytes;
    return ReadReleaseFile(home + L"\\", bytes) && ReleaseTextNamesIbm(bytes.CStr(), bytes.Length());
}

}  // namespace

// The runtime's maker as its release file names it. A runtime in the "jre"
// folder of a development kit has that file one folder up. A runtime without
// the file counts as another maker's: it then gets the ordinary treatment,
// which every runtime can live with.
bool LauncherApp::UsesIbmRuntime() const
{
    String home = StripLastComponents(m_jvmLibraryPath, 3);
    if (ReleaseFileNamesIbm(home))
        return true;
    int slash = home.ReverseFind(L'\\');
    if (slash == String::npos || !home.Mid(slash + 1).EqualsNoCase(L"jre"))
        return false;
    return ReleaseFileNamesIbm(home.Left(slash));
}
