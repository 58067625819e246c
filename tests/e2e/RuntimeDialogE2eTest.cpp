// The runtime-not-found dialog of the real launcher: what a user sees when no
// runtime is found anywhere, how the launch ends without a choice, and that a
// runtime picked once is used on the next start without asking again.

#include "res/resource.h"
#include "core/LauncherApp.h"
#include "runtime/DialogScript.h"
#include "runtime/VendorRegistry.h"
#include "support/fakejvm/FakeJvmLog.h"
#include "support/harness/Harness.h"
#include "support/pixels/WindowPixels.h"

#include <gtest/gtest.h>

namespace {

const DWORD kLaunchFailed = 0xFFFFFFFF;  // exit code -1
const wchar_t kLink[] = L"https://www.java.com/download/";

std::string Show(const std::wstring& text)
{
    std::string shown;
    for (wchar_t c : text)
        shown += c >= 32 && c < 127 ? static_cast<char>(c) : '?';
    return shown;
}

// What the launcher's dialog showed, read while it was open.
struct DialogSeen {
    int count = 0;
    std::wstring title, message, link, path;
    bool okEnabled = true;
};

class RuntimeDialogE2e : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(runtime_test::SnapshotVendorKeys().empty()) << "the test prefix already holds Java registrations";
        m_app.CopyLauncher();
        m_app.WriteFile(L"app.jar", "PK");
        m_options.env[L"JAVA_HOME"] = L"";
        m_options.env[L"APPDATA"] = m_app.Path() + L"\\appdata";
    }

    // Runs the launcher; its dialog is read and then answered by answer
    // (a button id, or 0 after closing it through its close box).
    LaunchResult Launch(const std::wstring& runtimeSettings, std::function<int(HWND)> answer)
    {
        m_app.WriteIni(L"[Product Information]\nProduct Name=Demo App\nProduct Code=3\n"
                       L"[Java Runtime Environment]\nMain Class=test.RecordArgs\n" +
                       runtimeSettings + L"[Class Path]\nClass Path=app.jar\n");
        m_seen = DialogSeen();
        m_options.onWindow = [&](const SeenWindow& window) {
            if (window.isMessageBox)
                return IDOK;
            ++m_seen.count;
            m_seen.title = window.title;
            m_seen.message = window.controlTexts.at(IDC_MESSAGE);
            m_seen.link = window.controlTexts.at(IDC_DOWNLOAD_LINK);
            m_seen.path = window.controlTexts.at(IDC_JRE_PATH);
            m_seen.okEnabled = IsWindowEnabled(GetDlgItem(window.hwnd, IDOK)) != FALSE;
            return answer(window.hwnd);
        };
        DeleteFileW(m_app.LogPath().c_str());
        return RunLauncher(m_app, m_options);
    }

    // The user picks the runtime under picked, which is remembered; the next
    // start uses it without asking.
    void PickAndStartAgain(const std::wstring& picked)
    {
        {
            ScopedVariable appData(L"APPDATA", m_options.env[L"APPDATA"].c_str());
            LauncherApp asking;
            asking.m_productName = L"Demo App";
            asking.m_productCode = L"3";
            asking.m_pairProduct = m_app.Launcher().c_str();
            ASSERT_TRUE(runtime_test::PickAndPress(picked, IDOK, [&] { return asking.AskForRuntime(); }));
        }
        std::wstring perUser = m_app.Path() + L"\\appdata\\Demo App\\3\\launcher.ini";
        wchar_t stored[MAX_PATH] = {};
        GetPrivateProfileStringW(L"Java Runtime Environment", L"JRE Path", L"", stored, MAX_PATH, perUser.c_str());
        EXPECT_EQ(std::wstring(stored), picked + L"\\");

        LaunchResult result = Launch(L"", [](HWND) { return IDCANCEL; });
        EXPECT_EQ(m_seen.count, 0) << "asked again";
        EXPECT_EQ(result.exitCode, 0u);
        FakeJvmLog log = FakeJvmLog::Read(m_app.LogPath());
        EXPECT_EQ(log.Env(L"OZ_JVM_PATH"), picked + L"\\bin\\server\\jvm.dll");
    }

    AppFolder m_app;
    LaunchOptions m_options;
    DialogSeen m_seen;
};

int Cancel(HWND)
{
    return IDCANCEL;
}

TEST_F(RuntimeDialogE2e, TheMessageNamesTheRequiredRuntime)
{
    const std::wstring any = L"The Java Runtime Environment (JRE) tidak ditemukan. Silakan download dan instal JRE (";
    const std::wstring server =
        L" Java Runtime Environment (JRE) tidak ditemukan. Silakan download dan instal JRE dengan server JVM (";
    struct Case {
        const wchar_t* settings;
        std::wstring message;
    } cases[] = {
        {L"", any + L"versi terbaru) dari:"},
        {L"Minimum Version=any\nMaximum Version=any\n", any + L"versi terbaru) dari:"},
        {L"JVM Type=server\nMinimum Version=1.8\n", server + L"versi minimum 1.8) dari:"},
        {L"JVM Type=favor_server\nMaximum Version=11.0.2\n", any + L"versi maksimum 11.0.2) dari:"},
        {L"Minimum Version=1.8\nMaximum Version=17.0.1\n", any + L"versi antara 1.8 dan 17.0.1) dari:"},
        {L"JVM Type=server\nMinimum Version=1.8.0.5\nMaximum Version=1.8.0.5\n",
         server + L"diperlukan versi 1.8.0.5) dari:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Show(c.settings));
        LaunchResult result = Launch(c.settings, Cancel);
        EXPECT_EQ(m_seen.count, 1);
        EXPECT_EQ(m_seen.title, L"JRE Tidak Ditemukan");
        EXPECT_EQ(m_seen.message, c.message) << Show(m_seen.message);
        EXPECT_EQ(m_seen.link, kLink);
        EXPECT_EQ(m_seen.path, L"");
        EXPECT_FALSE(m_seen.okEnabled);
        EXPECT_TRUE(result.MessageTexts().empty());
        EXPECT_EQ(result.exitCode, kLaunchFailed);
    }
    EXPECT_FALSE(Exists(m_app.Path() + L"\\appdata"));
}

TEST_F(RuntimeDialogE2e, TheCloseBoxEndsTheLaunch)
{
    LaunchResult result = Launch(L"", [](HWND dialog) {
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    });
    EXPECT_EQ(m_seen.count, 1);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, kLaunchFailed);

    // OK cannot end it while no runtime is picked: the launcher waits on.
    int okPresses = 0;
    result = Launch(L"", [&](HWND dialog) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ++okPresses;
        return IsWindowVisible(dialog) ? IDCANCEL : 0;
    });
    EXPECT_EQ(okPresses, 1);
    EXPECT_EQ(result.exitCode, kLaunchFailed);
    EXPECT_EQ(result.windows.size(), 1u);
}

// Looked at as a user sees it: the background painted everywhere, every text
// whole (the message and the hint below it as wide as the group box allows,
// the hint on two lines, the link its full address), with both kinds of
// message.
TEST_F(RuntimeDialogE2e, PixelsBackgroundAndTexts)
{
    ScopedScreenDpi dpi(RequestedTestDpi());
    // "Download URL" replaces the link, which grows with its text; a long
    // requirement takes the message a line further.
    const wchar_t* ownPage = L"https://downloads.example.org/jre/temurin-17/";
    std::wstring ownPageSetting = std::wstring(L"Download URL=") + ownPage + L"\n";
    const wchar_t* longest = L"JVM Type=server\nMinimum Version=1.8.0.5\nMaximum Version=17.0.10.7\n";
    for (const wchar_t* settings : {L"", L"JVM Type=server\nMinimum Version=11\n", longest, ownPageSetting.c_str()}) {
        SCOPED_TRACE(Show(settings));
        std::vector<std::string> background, cut;
        TemplateFont font(L"MS Shell Dlg", 8);
        RECT button = {};
        Launch(settings, [&](HWND dialog) {
            GetClientRect(GetDlgItem(dialog, IDOK), &button);
            background = DialogBackgroundFaults(dialog);
            cut = CutTexts(dialog, font);
            return IDCANCEL;
        });
        EXPECT_EQ(m_seen.count, 1);
        // Laid out in the template's font at the launcher's DPI: the buttons are 14 units high.
        EXPECT_EQ(button.bottom, font.UnitsHigh(14)) << "at " << LauncherDpi() << " DPI";
        EXPECT_EQ(background, std::vector<std::string>());
        EXPECT_EQ(cut, std::vector<std::string>());
        EXPECT_EQ(m_seen.link, settings == ownPageSetting.c_str() ? ownPage : kLink);
    }
}

// The user's answer is given in this process by the launcher's own code for
// asking (the folder browser answered from a list). The launcher is named as
// this program's paired launcher, so the answer is remembered in its per-user
// file as well; its next start finds the runtime there.
TEST_F(RuntimeDialogE2e, APickedRuntimeIsRememberedForTheNextStart)
{
    m_app.InstallRuntime(L"java\\picked");
    const std::wstring picked = m_app.Path() + L"\\java\\picked";
    Launch(L"", Cancel);
    ASSERT_EQ(m_seen.count, 1);

    PickAndStartAgain(picked);
}

// A runtime that cannot serve the launch is not taken from the dialog, and
// one stored earlier that cannot serve it any more is asked for again instead
// of failing on every start.
TEST_F(RuntimeDialogE2e, ARuntimeThatCannotServeIsNotTakenAndIsAskedForAgain)
{
    m_app.InstallRuntime(L"java\\old");
    m_app.WriteFile(L"java\\old\\release", "JAVA_VERSION=\"1.8.0_382\"\n");
    const std::wstring old = m_app.Path() + L"\\java\\old";
    std::wstring line;
    bool okEnabled = true;
    {
        LauncherApp asking;
        ParseVersion(String(L"11"), 0, asking.m_versionRequirement.minimum);
        runtime_test::PickerAnswers answers({old});
        runtime_test::DialogScript script([&](HWND dialog) {
            runtime_test::PressBrowse(dialog);
            line = runtime_test::ControlText(dialog, IDC_MESSAGE);
            okEnabled = runtime_test::ControlEnabled(dialog, IDOK);
            runtime_test::PressButton(dialog, IDOK);  // ignored: the dialog stays until cancelled
        });
        EXPECT_FALSE(asking.AskForRuntime());
    }
    EXPECT_FALSE(okEnabled);
    EXPECT_EQ(line, L"JRE versi 1.8.0.382 di folder ini tidak sesuai (versi minimum 11.0). "
                    L"Silakan pilih JRE lain atau download dari:");

    // Stored by an earlier start, under settings that asked for less.
    std::wstring perUser = m_app.Path() + L"\\appdata\\Demo App\\3\\launcher.ini";
    MakeDirs(m_app.Path() + L"\\appdata\\Demo App\\3");
    WritePrivateProfileStringW(L"Java Runtime Environment", L"JRE Path", (old + L"\\").c_str(), perUser.c_str());
    LaunchResult result = Launch(L"Minimum Version=11\n", Cancel);
    EXPECT_EQ(m_seen.count, 1) << "not asked again";
    EXPECT_EQ(m_seen.message,
              L"The Java Runtime Environment (JRE) tidak ditemukan. Silakan download dan instal JRE "
              L"(versi minimum 11.0) dari:");
    EXPECT_TRUE(result.MessageTexts().empty());
    EXPECT_EQ(result.exitCode, kLaunchFailed);

    // The same for a runtime built for the other machine type, with no pair.
    if (PeerBuildDir().empty())
        return;
    m_app.InstallRuntime(L"java\\other", L"server", L"plain", true);
    WritePrivateProfileStringW(L"Java Runtime Environment", L"JRE Path", (m_app.Path() + L"\\java\\other\\").c_str(),
                               perUser.c_str());
    result = Launch(L"", Cancel);
    EXPECT_EQ(m_seen.count, 1) << "not asked again";
    EXPECT_TRUE(result.MessageTexts().empty()) << Show(result.MessageTexts().empty() ? L"" : result.MessageTexts()[0]);
    EXPECT_EQ(result.exitCode, kLaunchFailed);
}

// A folder named outside the ANSI code page is stored in a new per-user file
// that holds it whole, so that the next start finds the runtime there.
TEST_F(RuntimeDialogE2e, AFolderNamedOutsideTheAnsiCodePageIsRememberedWhole)
{
    const std::wstring relative = L"Users\\\x0414\x043c\x0438\x0442\x0440\x0438\x0439\\jdk17";
    m_app.InstallRuntime(relative);
    const std::wstring picked = m_app.Path() + L"\\" + relative;
    PickAndStartAgain(picked);
}

}  // namespace
