#include "settings/SettingsPaths.h"

#include "base/EnvironmentText.h"
#include "core/LauncherApp.h"
#include "core/ModulePath.h"
#include "settings/JrePathWriter.h"
#include "settings/SettingsPathRules.h"

namespace {

const wchar_t kRuntimeSection[] = L"Java Runtime Environment";
const wchar_t kJrePathKey[] = L"JRE Path";

// Creation failures, an existing folder included, are ignored.
void CreateFolder(const String& path)
{
    CreateDirectoryW(path.CStr(), nullptr);
}

void CreatePerUserFolders(const String& root, const String& productFolder, const LauncherApp& app)
{
    CreateFolder(root + L"\\" + productFolder);
    CreateFolder(JoinPerUserFolder(root, productFolder, app.m_productCode));
}

String PerUserPathFor(const String& launcherPath, const LauncherApp& app, bool create)
{
    String appData = ReadEnvironmentVariable(L"APPDATA");
    String productFolder = ProductFolderName(app.m_productName);
    if (create)
        CreatePerUserFolders(appData, productFolder, app);
    return JoinPerUserSettingsPath(appData, productFolder, app.m_productCode, SettingsBaseName(launcherPath));
}

// A file that cannot be written is left as it was; the launch goes on.
void WriteJrePath(const String& settingsPath, const String& folder, bool createFolders)
{
    WriteSettingSafely(settingsPath, kRuntimeSection, kJrePathKey, folder, createFolders);  // result ignored
}

}  // namespace

bool GetSettingsFilePath(String& path)
{
    String modulePath = GetModulePath();
    if (modulePath.IsEmpty())
        return false;
    return SettingsPathFor(modulePath, path);
}

String GetPerUserSettingsFilePath(const LauncherApp& app, bool create)
{
    String modulePath = GetModulePath();
    if (modulePath.IsEmpty())
        return modulePath;
    return PerUserPathFor(modulePath, app, create);
}

String GetPerUserFolder(const LauncherApp& app, const String& root, bool create)
{
    String productFolder = ProductFolderName(app.m_productName);
    if (create)
        CreatePerUserFolders(root, productFolder, app);
    return JoinPerUserFolder(root, productFolder, app.m_productCode);
}

bool GetPairSettingsFilePath(const LauncherApp& app, String& path)
{
    if (app.m_pairProduct.IsEmpty())
        return false;
    return SettingsPathFor(app.m_pairProduct, path);
}

String GetPairPerUserSettingsFilePath(const LauncherApp& app)
{
    if (app.m_pairProduct.IsEmpty())
        return String();
    return PerUserPathFor(app.m_pairProduct, app, true);
}

void StoreChosenRuntimeFolder(const LauncherApp& app, const String& folder)
{
    String settingsPath;
    if (!GetSettingsFilePath(settingsPath))
        return;
    if (app.m_isService) {
        WriteJrePath(settingsPath, folder, false);
        String pairPath;
        if (GetPairSettingsFilePath(app, pairPath))
            WriteJrePath(pairPath, folder, false);
        return;
    }
    WriteJrePath(GetPerUserSettingsFilePath(app, true), folder, true);
    if (!app.m_pairProduct.IsEmpty())
        WriteJrePath(GetPairPerUserSettingsFilePath(app), folder, true);
}
