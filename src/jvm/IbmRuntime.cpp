#include "base/UniqueResource.h"
#include "core/LauncherApp.h"
#include "jvm/Environment.h"
#include "jvm/RuntimeRelease.h"

namespace {

// Enough for any release file; a longer one is read this far.
constexpr DWORD kReleaseReadLimit = 16384;

bool ReleaseFileNamesIbm(const String& home)
{
    UniqueFileHandle file(CreateFileW((home + L"\\release").CStr(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    AnsiString text;
    char* buffer = text.GetBuffer(kReleaseReadLimit);
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer, kReleaseReadLimit, &read, nullptr))
        return false;
    return ReleaseTextNamesIbm(buffer, read);
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
