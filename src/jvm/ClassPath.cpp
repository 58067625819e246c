#include "base/SplitList.h"
#include "core/LauncherApp.h"
#include "core/ModulePath.h"
#include "jvm/ClassPathRules.h"
#include "jvm/Environment.h"

namespace {

bool IsDotEntry(const wchar_t* name)
{
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

}  // namespace

String LauncherApp::BuildClassPath(const String& setting)
{
    String classPath;
    StringList items;
    SplitList(setting, L";", items);
    for (const String& written : items) {
        String item = ExpandEnvironment(written);
        if (IsAbsoluteClassPathItem(item) && !IsWildcardClassPathItem(item)) {
            // Named outright: kept whether or not it exists yet.
            classPath.Append(item);
            classPath.Append(L';');
        } else {
            ExpandClassPathEntry(item, classPath);
        }
    }
    return classPath;
}

void LauncherApp::ExpandClassPathEntry(const String& entry, String& classPath)
{
    String pattern;
    if (IsAbsoluteClassPathItem(entry)) {
        pattern = entry;
    } else {
        String module = GetModulePath();
        int slash = module.ReverseFind(L'\\');
        pattern = module.Left(slash < 0 ? 0 : slash);
        pattern.Append(L'\\');
        pattern.Append(entry);
    }
    int slash = pattern.ReverseFind(L'\\');
    String folder = pattern.Left(slash < 0 ? 0 : slash);

    WIN32_FIND_DATAW match;
    // Basic information and large fetches: short names are not needed, and a
    // folder of thousands of jars is read in few round trips.
    UniqueFindHandle search(FindFirstFileExW(pattern.CStr(), FindExInfoBasic, &match, FindExSearchNameMatch, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH));
    if (!search)
        return;  // nothing matches: the item contributes nothing
    // Files and folders count alike. The "." and ".." entries that a pattern
    // ending in "*" brings are not matches of the item: they would put the
    // folder itself and its parent on the class path.
    do {
        if (IsDotEntry(match.cFileName))
            continue;
        classPath.Append(folder);
        classPath.Append(L'\\');
        classPath.Append(match.cFileName);
        classPath.Append(L';');
    } while (FindNextFileW(search.get(), &match));
}
