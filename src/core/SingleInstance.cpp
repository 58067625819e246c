#include "core/SingleInstance.h"

#include "base/Paths.h"
#include "core/InstanceBlock.h"
#include "core/LauncherApp.h"
#include "core/ModulePath.h"
#include "settings/EmbeddedSettings.h"
#include "settings/MergedSettings.h"
#include "settings/SettingWords.h"
#include "settings/SettingsPaths.h"

String ExecutableIdentity(const String& path)
{
    FileIdentity file;
    if (!GetFileIdentity(path, file)) {
        String upper(path);
        CharUpperBuffW(upper.GetBuffer(upper.Length()), static_cast<DWORD>(upper.Length()));
        return upper;
    }
    wchar_t text[32];
    wsprintfW(text, L"%08lX-%08lX%08lX", file.volumeSerial, file.indexHigh, file.indexLow);
    return String(text);
}

// The first start of a single-instance application creates the instance
// block and listens for later starts; a later start hands its arguments over
// and, in Run, waits for the answer. Every failure on the first instance's
// side turns the mode off for this run: the application then runs normally.
//
// A launcher started by the hand-over of a first instance takes that role
// over under the first launcher's names, so that later starts of the first
// launcher reach the process that runs the VM.
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
    bool takingOver = !m_takenOverInstance.IsEmpty();
    if (!takingOver && !IsLowercaseYes(settings.GetValue(application, String(L"Single Instance"))))
        return true;
    m_singleInstance = true;

    String modulePath;
    if (!takingOver) {
        modulePath = GetModulePath();
        if (modulePath.IsEmpty())
            return false;  // the message has been shown
    }
    const String name = takingOver ? m_takenOverInstance : InstanceObjectName(ExecutableIdentity(modulePath));
    m_instanceName = name;
    SetLastError(0);
    m_hInstanceMapping.reset(
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kInstanceBlockSize, name.CStr()));
    DWORD error = GetLastError();
    if (!m_hInstanceMapping) {
        m_singleInstance = false;
        return true;
    }
    // The first launcher keeps the block while it hands its role over.
    m_isFirstInstance = error == 0 || takingOver;
    m_pInstanceBlock.reset(MapViewOfFile(m_hInstanceMapping.get(), FILE_MAP_WRITE, 0, 0, 0));
    if (!m_pInstanceBlock) {
        m_singleInstance = false;
        return true;
    }
    if (!m_isFirstInstance)
        return ForwardToFirstInstance(name);
    if (!StartInstanceListener(name)) {
        // Later starts must not find a block that nobody serves: they would
        // wait and fail every time instead of running on their own.
        StopInstanceListener();
        m_pInstanceBlock.reset();
        m_hInstanceMapping.reset();
        m_singleInstance = false;
    }
    return true;
}

void LauncherApp::StopInstanceListener()
{
    if (m_hListenerThread && m_pInstanceBlock)
        QuitThreadAndWait(ReadBlockField(m_pInstanceBlock.get(), kListenerThreadOffset), m_hListenerThread.get());
    m_hListenerThread.reset();
    m_hReadyEvent.reset();
}

String LauncherApp::HandInstanceOver()
{
    if (!m_singleInstance || !m_isFirstInstance || !m_pInstanceBlock)
        return String();
    StopInstanceListener();
    // Later starts now wait for the next listener instead of posting to a
    // thread that is gone. The block itself stays mapped here, so that the
    // pair finds it rather than a later start making a new one.
    WriteBlockField(m_pInstanceBlock.get(), kListenerThreadOffset, 0);
    return m_instanceName;
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
