#include "base/SplitList.h"
#include "base/Trace.h"
#include "core/LauncherApp.h"
#include "core/ModulePath.h"
#include "jvm/ClassPathRules.h"
#include "jvm/Environment.h"

namespace {

bool IsDotEntry(const wchar_t* name)
{
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

// Elements are separated, never ended, by ";": the runtime reads an empty
// element as the current folder, which would put whatever lies in the folder
// the application was started from on its class path.
void AppendElement(String& classPath, const String& element)
{
    if (element.IsEmpty())
        return;
    if (!classPath.IsEmpty())
        classPath.Append(L';');
    classPath.Append(element);
}

}  // namespace

String LauncherApp::BuildClassPath(const String& setting, StringList* unmatched)
{
    String classPath;
    StringList items;
    SplitList(setting, L";", items);
    for (const String& written : items) {
        String item = CleanClassPathItem(ExpandEnvironment(written));
        if (item.IsEmpty())
            continue;  // names nothing
        int before = classPath.Length();
        if (IsAbsoluteClassPathItem(item) && !IsWildcardClassPathItem(item))
            AppendElement(classPath, item);  // named outright: kept whether or not it exists yet
        else
            ExpandClassPathEntry(item, classPath);
        JL_TRACE("class path item %s: %s", item.CStr(),
                 classPath.Length() == before ? L"matches nothing" : classPath.Mid(before).CStr());
        if (unmatched && classPath.Length() == before)
            unmatched->Append(item);
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

    // A relative item without "*" names one file or folder: it stays as
    // written, so that lib\core.jar keeps its folder and "." or lib\. name
    // the folders they say. It is left out when it does not exist.
    if (!IsWildcardClassPathItem(entry)) {
        if (GetFileAttributesW(pattern.CStr()) != INVALID_FILE_ATTRIBUTES)
            AppendElement(classPath, pattern);
        return;
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
        if (!classPath.IsEmpty())
            classPath.Append(L';');
        classPath.Append(folder);
        classPath.Append(L'\\');
        classPath.Append(match.cFileName);
    } while (FindNextFileW(search.get(), &match));
}
