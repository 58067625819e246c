#include "splash/NativeSplash.h"

#include "base/Encoding.h"
#include "base/Trace.h"
#include "base/UniqueResource.h"
#include "core/LauncherApp.h"
#include "jvm/AnsiPaths.h"
#include "splash/SplashRules.h"

namespace {

// The runtime library's entry points use the C calling convention.
using SplashInitFunction = void(__cdecl*)();
using SplashLoadFileFunction = int(__cdecl*)(const char* fileName);
using SplashSetFileJarNameFunction = void(__cdecl*)(const char* fileName, const char* jarName);

template <typename Function>
Function Entry(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Lets the library find its neighbours in the folder of path.
void AddFolderOf(const String& path)
{
    int slash = path.ReverseFind(L'\\');
    if (slash != String::npos)
        AddDllDirectory(path.Left(slash).CStr());  // never removed; a refusal is harmless
}

}  // namespace

String FindNativeSplashLibrary(const String& jvmLibraryPath)
{
    String candidate = NativeSplashLibraryCandidate(jvmLibraryPath);
    if (candidate.IsEmpty())
        return candidate;
    WIN32_FIND_DATAW found;
    UniqueFindHandle search(FindFirstFileW(candidate.CStr(), &found));
    if (!search)
        candidate.Clear();
    return candidate;
}

bool LauncherApp::StartNativeSplash(const String& library, const String& picture)
{
    // The library reads the picture's path in the ANSI code page. A path
    // that has no form there is shown by the launcher's own window, which
    // reads it whole.
    String usable;
    if (FindAnsiPathForm(picture, usable) > AnsiPathForm::Short) {
        JL_TRACE("splash picture %s has no form in the ANSI code page: the launcher shows it", picture.CStr());
        return false;
    }
    AddFolderOf(library);
    AddFolderOf(m_jvmLibraryPath);
    // Part of the runtime from now on: loaded once and never freed.
    HMODULE module = LoadLibraryExW(library.CStr(), nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    if (!module)
        return false;
    auto init = Entry<SplashInitFunction>(module, "SplashInit");
    auto loadFile = Entry<SplashLoadFileFunction>(module, "SplashLoadFile");
    auto setFileJarName = Entry<SplashSetFileJarNameFunction>(module, "SplashSetFileJarName");
    // Held before the other entry points are checked: a library that has
    // only this one still gets it called when the launch ends.
    m_splashCloser.Store(Entry<SplashCloser::CloseFunction>(module, "SplashClose"));
    if (!init || !loadFile || !setFileJarName)
        return false;
    init();
    AnsiString fileName = ToAnsi(usable);
    loadFile(fileName.CStr());
    setFileJarName(fileName.CStr(), "");
    return true;
}
