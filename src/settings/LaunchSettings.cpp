#include "base/Paths.h"
#include "base/SplitList.h"
#include "core/LaunchTrace.h"
#include "core/LauncherApp.h"
#include "core/Messages.h"
#include "core/ModulePath.h"
#include "core/RestartRules.h"
#include "res/resource.h"
#include "settings/EmbeddedSettings.h"
#include "settings/MergedSettings.h"
#include "settings/SettingWords.h"
#include "settings/SettingsPaths.h"

namespace {

const wchar_t kProductSection[] = L"Product Information";
const wchar_t kRuntimeSection[] = L"Java Runtime Environment";
const wchar_t kApplicationSection[] = L"Application";

// "JRE Path" of an application comes from the per-user file alone when that
// file exists (an empty value there stands), else from the merged reader; a
// service always uses the merged reader. fromUser tells which.
String ReadJrePath(const LauncherApp& app, MergedSettings& merged, bool& fromUser)
{
    String section(kRuntimeSection);
    String key(L"JRE Path");
    fromUser = false;
    if (!app.m_isService) {
        String perUserPath = GetPerUserSettingsFilePath(app, false);
        JL_TRACE("per-user settings file %s: %s", perUserPath.CStr(),
                 AbsolutePathExists(perUserPath) ? L"read for \"JRE Path\" alone" : L"not found");
        fromUser = AbsolutePathExists(perUserPath);
        if (fromUser) {
            String value = SettingsFile(perUserPath).GetValue(section, key);
            if (g_traceOn) {
                String written = merged.GetValue(section, key);
                JL_TRACE_IF(!written.IsEmpty() && written != value,
                            "\"JRE Path\" %s of the per-user file overrides %s of the settings", value.CStr(),
                            written.CStr());
            }
            return value;
        }
    }
    return merged.GetValue(section, key);
}

}  // namespace

bool LauncherApp::ReadLaunchSettings()
{
    String settingsPath;
    if (!GetSettingsFilePath(settingsPath))
        return false;
    JL_TRACE("settings file %s: %s", settingsPath.CStr(), SettingsFileState(settingsPath));

    MergedSettings settings(settingsPath, LoadEmbeddedSettingsText());
    JL_TRACE("embedded settings: %d sections", settings.Embedded().Sections().Count());
    // Without either there is nothing to launch: say which file is missing
    // rather than which key.
    if (settings.Embedded().Sections().IsEmpty() && !AbsolutePathExists(settingsPath)) {
        ShowFormattedError(m_hSplashWnd, TextId(IDS_NO_SETTINGS_FILE), settingsPath.CStr());
        return false;
    }
    {
        // A branded launcher carries its names in its embedded settings.
        String section(kProductSection);
        m_productCode = settings.GetValue(section, String(L"Product Code"));
        m_productName = settings.GetValue(section, String(L"Product Name"));
    }
    String runtime(kRuntimeSection);
    String application(kApplicationSection);

    m_versionRequirement.minimum = MinimumVersionFromText(settings.GetValue(runtime, String(L"Minimum Version")));
    m_versionRequirement.maximum = MaximumVersionFromText(settings.GetValue(runtime, String(L"Maximum Version")));

    m_isService = IsServiceApplication(settings.GetValue(application, String(L"Application Type")));

    SplitList(settings.GetValue(runtime, String(L"Preferred versions")), L";", m_preferredVersions);

    String jrePath = ReadJrePath(*this, settings, m_jrePathFromUser);
    if (!jrePath.IsEmpty() && !IsAbsoluteSettingPath(jrePath))
        jrePath = CompleteSettingPath(jrePath, GetModulePath());
    m_jrePath = jrePath;

    m_downloadUrl = settings.GetValue(runtime, String(L"Download URL"));

    m_jvmType = static_cast<JvmType>(JvmTypeFromText(settings.GetValue(runtime, String(L"JVM Type"))));

    JvmSourceFlags source = JvmSourceFromText(settings.GetValue(runtime, String(L"JVM Source")));
    m_jdkFirst = source.jdkFirst;
    m_jreFirst = source.jreFirst;
    m_allowOtherKind = source.allowOtherKind;

    VmProviderFlags provider = VmProviderFromText(settings.GetValue(runtime, String(L"VM Provider")));
    m_allowJRockit = provider.allowJRockit;
    m_preferJRockit = provider.preferJRockit;
    m_allowSun = provider.allowSun;
    m_preferSun = provider.preferSun;
    m_allowIbm = provider.allowIbm;
    m_preferIbm = provider.preferIbm;

    // On unless the word is "no", in any case.
    m_otherVendors = !settings.GetValue(runtime, String(L"Other Vendors")).EqualsNoCase(L"no");

    // A main module wins over a main class; the class is then the one that
    // the module text names, if it names one.
    String mainModule = MainModuleText(settings.GetValue(runtime, String(L"Main Module")));
    String mainClass = settings.GetValue(runtime, String(L"Main Class"));
    if (mainClass.IsEmpty() && mainModule.IsEmpty()) {
        ShowErrorMessage(m_hSplashWnd, TextId(IDS_NO_MAIN_CLASS));
        return false;
    }
    JL_TRACE_IF(!mainModule.IsEmpty() && !mainClass.IsEmpty(), "\"Main Module\" %s wins over \"Main Class\" %s",
                mainModule.CStr(), mainClass.CStr());
    m_mainModule = mainModule;
    m_mainClass = MainClassInternalName(mainModule.IsEmpty() ? mainClass : MainModuleClass(mainModule));
    m_mainClassName = mainModule.IsEmpty() ? mainClass : mainModule;

    m_failureCheck = IsYesAnyCase(settings.GetValue(application, String(L"Failure Check")));
    m_overrideWorkingDir = IsYesAnyCase(settings.GetValue(application, String(L"Override WorkingDir")));
    m_systemPath = settings.GetValue(runtime, String(L"System Path"));
    m_libraryPath = settings.GetValue(runtime, String(L"Library Path"));
    // A relative pair lies beside the launcher, wherever it was started from:
    // the hand-over and the pair's settings files both need its full path.
    String pairProduct = settings.GetValue(application, String(L"Pair Product"));
    if (!pairProduct.IsEmpty() && !IsAbsoluteSettingPath(pairProduct))
        pairProduct = CompleteSettingPath(pairProduct, GetModulePath());
    m_pairProduct = pairProduct;
    m_pairReturnCode = IsYesAnyCase(settings.GetValue(application, String(L"Pair Return Code")));
    m_classDataSharing = IsYesAnyCase(settings.GetValue(runtime, String(L"Class Data Sharing")));
    String restartCode = settings.GetValue(application, String(L"Restart Code"));
    m_restartCode = RestartCodeFromText(restartCode);
    JL_TRACE_IF(m_restartCode == 0 && !restartCode.IsEmpty(),
                "\"Restart Code\" %s is no number from 1 to 255: no restart", restartCode.CStr());
    return true;
}
