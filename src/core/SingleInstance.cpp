#include "core/SingleInstance.h"

#include "core/InstanceBlock.h"
#include "core/LauncherApp.h"
#include "core/ModulePath.h"
#include "settings/EmbeddedSettings.h"
#include "settings/MergedSettings.h"
#include "settings/SettingWords.h"
#include "settings/SettingsPaths.h"

String InstanceObjectName(const String& modulePath, const wchar_t* suffix)
{
    String name(modulePath);
    name.ReplaceAll(L'\\', L'_');
    name += suffix;
    return name;
}

// The first start of a single-instance application creates the instance
// block and listens for later starts; a later start hands its arguments over
// and, in Run, waits for the answer. Every failure on the first instance's
// side turns the mode off for this run: the application then runs normally.
bool LauncherApp::SetUpSingleInstance()
{
    String settingsPath;
    if (!GetSettingsFilePath(settingsPath))
        return false;
    MergedSettings settings(settingsPath, LoadEmbeddedSettingsText());
    String application(L"Application");
    // Service applications never use single-instance mode.
    if (IsServiceApplication(settings.GetValue(application, String(L"Application Type"))))
        return true;
    if (!IsLowercaseYes(settings.GetValue(application, String(L"Single Instance"))))
        return true;
    m_singleInstance = true;

    String name = InstanceObjectName(GetModulePath());
    SetLastError(0);
    m_hInstanceMapping.reset(
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kInstanceBlockSize, name.CStr()));
    DWORD error = GetLastError();
    if (!m_hInstanceMapping) {
        m_singleInstance = false;
        return true;
    }
    m_isFirstInstance = error == 0;
    m_pInstanceBlock.reset(MapViewOfFile(m_hInstanceMapping.get(), FILE_MAP_WRITE, 0, 0, 0));
    if (!m_pInstanceBlock) {
        m_singleInstance = false;
        return true;
    }
    if (!m_isFirstInstance)
        return ForwardToFirstInstance(name);
    if (!StartInstanceListener(name))
        m_singleInstance = false;
    return true;
}

// False when the first instance cannot serve later starts. The block keeps
// whatever was stored; later starts then find no listener and give up.
bool LauncherApp::StartInstanceListener(const String& name)
{
    void* block = m_pInstanceBlock.get();
    m_hReadyEvent.reset(CreateEventW(nullptr, TRUE, FALSE, (name + kReadyEventSuffix).CStr()));
    if (!m_hReadyEvent)
        return false;  // forwarded starts could not wait for main
    UINT message = RegisterWindowMessageW(name.CStr());
    if (message == 0)
        return false;
    WriteBlockField(block, kMessageIdOffset, message);
    // Without this message later starts keep their turn until their answer.
    m_takenMessage = RegisterWindowMessageW((name + kTakenMessageSuffix).CStr());
    WriteBlockField(block, kProcessIdOffset, GetCurrentProcessId());
    // The listener's id, stored last, tells later starts that all is set.
    m_hListenerThread.reset(CreateThread(nullptr, 0, ListenerThread, this, 0,
                                         reinterpret_cast<DWORD*>(static_cast<char*>(block) + kListenerThreadOffset)));
    return m_hListenerThread.valid();
}
