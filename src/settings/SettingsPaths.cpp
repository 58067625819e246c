#include "settings/SettingsPaths.h"

#include "base/EnvironmentText.h"
#include "core/LauncherApp.h"
#include "core/Messages.h"
#include "core/ModulePath.h"
#include "res/resource.h"
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

// A file that cannot be written is left as it was; the launch goes on. One
// that cannot hold the folder's name is left too, with a message: the next
// start asks again rather than finding a corrupted path.
void WriteJrePath(const LauncherApp& app, const String& settingsPath, const String& folder, bool createFolders)
{
    SettingWrite result = WriteSettingSafely(settingsPath, kRuntimeSection, kJrePathKey, folder, createFolders);
    if (result == SettingWrite::NotRepresentable)
        ShowFormattedError(app.m_hSplashWnd, TextId(IDS_JRE_PATH_NOT_STORABLE), settingsPath.CStr());
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
        WriteJrePath(app, settingsPath, folder, false);
        String pairPath;
        if (GetPairSettingsFilePath(app, pairPath))
            WriteJrePath(app, pairPath, folder, false);
        return;
    }
    WriteJrePath(app, GetPerUserSettingsFilePath(app, true), folder, true);
    if (!app.m_pairProduct.IsEmpty())
        WriteJrePath(app, GetPairPerUserSettingsFilePath(app), folder, true);
}
