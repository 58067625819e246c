#include "jvm/Environment.h"

#include "base/SplitList.h"
#include "core/LauncherApp.h"
#include "core/ModulePath.h"

void LauncherApp::PrepareEnvironment()
{
    String home = StripLastComponents(m_jvmLibraryPath, 3);
    SetEnvironmentVariableW(L"OZ_JVM_PATH", m_jvmLibraryPath.CStr());
    SetEnvironmentVariableW(L"OZ_JVM_HOME", home.CStr());

    if (!m_libraryPath.IsEmpty()) {
        String list(m_libraryPath);
        if (list.Last() != L';')
            list.Append(L';');
        list.Append(GetModuleDirectory());
        list.Append(L";%Path%;");
        list.Append(home);
        // The current folder comes last: a DLL that happens to lie there must
        // not win over the application's and the system's own.
        list.Append(L"\\lib;.");
        m_libraryPath = ExpandEnvironment(list);
        // Folders of the system's search path are the machine's, not the
        // application's: one the runtime cannot be told of is left out.
        StringList systemFolders;
        SplitList(ExpandEnvironment(String(L"%Path%")), L";", systemFolders);
        AddAnsiOption(String(L"-Djava.library.path=") + m_libraryPath, m_optionRefusal, &systemFolders);
    }

    String path;
    if (!m_systemPath.IsEmpty()) {
        path.Append(m_systemPath);
        if (path.Last() != L';')
            path.Append(L';');
    }
    path.Append(L"%Path%;");
    path.Append(StripLastComponents(m_jvmLibraryPath, 2));
    // Failures here leave the environment as it was; the launch goes on.
    SetEnvironmentVariableW(L"Path", ExpandEnvironment(path).CStr());
}

void LauncherApp::SetWorkingDirectory()
{
    String path = GetModulePath();
    int slash = path.ReverseFind(L'\\');
    if (slash == String::npos || slash == 0)
        return;
    // A launcher at the root of a drive keeps the backslash: "C:" alone would
    // name that drive's current directory, not its root.
    int keep = (slash == 2 && path[1] == L':') ? slash + 1 : slash;
    path.Truncate(keep);
    SetCurrentDirectoryW(path.CStr());  // a failure leaves the directory as it was
}
