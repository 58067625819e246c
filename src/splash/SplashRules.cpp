#include "splash/SplashRules.h"

#include "jvm/Environment.h"

String NativeSplashLibraryCandidate(const String& jvmLibraryPath)
{
    String folder = StripLastComponents(jvmLibraryPath, 2);
    if (folder.IsEmpty())
        return folder;
    if (folder.Last() != L'\\' && folder.Last() != L'/')
        folder.Append(L'\\');
    folder.Append(L"splashscreen.dll");
    return folder;
}
