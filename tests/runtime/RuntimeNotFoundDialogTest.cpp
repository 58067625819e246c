// The runtime-not-found dialog driven in this process: what the user sees,
// when OK can be pressed, and what a picked folder yields.

#include "core/LauncherApp.h"
#include "res/resource.h"
#include "runtime/DialogScript.h"
#include "runtime/PeImageView.h"
#include "runtime/RuntimeNotFoundDialog.h"
#include "runtime/RuntimeTestSupport.h"

#include <gtest/gtest.h>

namespace {

using runtime_test::ControlEnabled;
using runtime_test::ControlText;
using runtime_test::DialogScript;
using runtime_test::PickerAnswers;
using runtime_test::PressBrowse;
using runtime_test::PressButton;

// What the dialog showed after each Browse.
struct Seen {
    std::wstring edit;
    bool okEnabled;
};

class RuntimeNotFoundDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        // Runtime homes: a server VM, a client VM only, and a JDK 8 home whose
        // runtime sits in its "jre" folder.
        runtime_test::MakeRuntime(m_folder / L"server", {L"server"});
        runtime_test::MakeRuntime(m_folder / L"client", {L"client"});
        runtime_test::MakeRuntime(m_folder / L"jdk8\\jre", {L"server"});
        MakeDirs(m_folder / L"empty");
    }

    // Shows the dialog, browses to each of folders in turn and records what
    // the dialog showed after each; then presses finalButton.
    INT_PTR Browse(RuntimeNotFoundDialog& dialog, const std::vector<std::wstring>& folders, int finalButton)
    {
        PickerAnswers answers(folders);
        m_seen.clear();
        DialogScript script([&](HWND window) {
            m_initialOk = ControlEnabled(window, IDOK);
            for (size_t i = 0; i < folders.size(); ++i) {
                PressBrowse(window);
                m_seen.push_back({ControlText(window, IDC_JRE_PATH), ControlEnabled(window, IDOK)});
            }
            PressButton(window, finalButton);
        });
        INT_PTR result = dialog.Show(nullptr);
        EXPECT_TRUE(script.Ran());
        EXPECT_EQ(answers.Asked(), folders.size());
        return result;
    }

    TempFolder m_folder{L"jl-rnf-"};
    std::vector<Seen> m_seen;
    bool m_initialOk = true;
};

TEST_F(RuntimeNotFoundDialogTest, ShowsTheMessageAndTheLinkWithOkDisabled)
{
    RuntimeNotFoundDialog dialog(String(L"the message"), JvmType::Any);
    std::wstring message, link, title;
    PickerAnswers none({});
    DialogScript script([&](HWND window) {
        message = ControlText(window, IDC_MESSAGE);
        link = ControlText(window, IDC_DOWNLOAD_LINK);
        wchar_t caption[64] = {};
        GetWindowTextW(window, caption, 64);
        title = caption;
        m_initialOk = ControlEnabled(window, IDOK);
        PressButton(window, IDOK);  // ignored while no runtime is picked
    });
    EXPECT_EQ(dialog.Show(nullptr), IDCANCEL);
    EXPECT_EQ(message, L"the message");
    EXPECT_EQ(link, L"https://www.java.com/download/");
    EXPECT_EQ(title, L"JRE Tidak Ditemukan");
    EXPECT_FALSE(m_initialOk);
    EXPECT_TRUE(dialog.ChosenFolder().IsEmpty());
}

TEST_F(RuntimeNotFoundDialogTest, OkFollowsTheLastFolderPicked)
{
    const std::wstring server = m_folder / L"server";
    const std::wstring jdk = m_folder / L"jdk8";
    const std::wstring empty = m_folder / L"empty\\";
    struct Case {
        const char* name;
        JvmType type;
        std::vector<std::wstring> folders;
        std::vector<bool> okAfterEach;
    } cases[] = {
        {"server home", JvmType::Any, {server}, {true}},
        {"client only, server required", JvmType::Server, {m_folder / L"client"}, {false}},
        {"client only, server favoured", JvmType::FavorServer, {m_folder / L"client"}, {true}},
        {"JDK home, then its jre folder", JvmType::Any, {jdk, jdk + L"\\jre"}, {false, true}},
        {"valid, invalid, valid", JvmType::Any, {server, empty, server}, {true, false, true}},
        {"cancelled browser changes nothing", JvmType::Any, {server, L""}, {true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RuntimeNotFoundDialog dialog(String(L"m"), c.type);
        Browse(dialog, c.folders, IDCANCEL);
        ASSERT_EQ(m_seen.size(), c.folders.size());
        std::wstring shown;
        for (size_t i = 0; i < c.folders.size(); ++i) {
            if (!c.folders[i].empty())
                shown = c.folders[i];
            EXPECT_EQ(m_seen[i].edit, shown) << i;  // the path as the browser gave it
            EXPECT_EQ(m_seen[i].okEnabled, c.okAfterEach[i]) << i;
        }
        std::wstring folder = shown.back() == L'\\' ? shown : shown + L"\\";
        EXPECT_EQ(dialog.ChosenFolder().CStr(), folder);
        EXPECT_EQ(dialog.ChosenJvmLibrary().IsEmpty(), !c.okAfterEach.back());
    }
}

TEST_F(RuntimeNotFoundDialogTest, OkGivesTheLibraryOfThePickedFolder)
{
    RuntimeNotFoundDialog dialog(String(L"m"), JvmType::Any);
    EXPECT_EQ(Browse(dialog, {m_folder / L"client"}, IDOK), IDOK);
    EXPECT_EQ(dialog.ChosenFolder().CStr(), m_folder / L"client\\");
    EXPECT_EQ(dialog.ChosenJvmLibrary().CStr(), m_folder / L"client\\bin\\client\\jvm.dll");

    // An invalid pick after a valid one takes OK away again.
    RuntimeNotFoundDialog second(String(L"m"), JvmType::Any);
    EXPECT_EQ(Browse(second, {m_folder / L"client", m_folder / L"empty"}, IDOK), IDCANCEL);
}

// A runtime outside the version window, or one of another machine type with
// no pair to take it, would fail on every start: OK stays off and the message
// line says why, until a usable folder is picked.
TEST_F(RuntimeNotFoundDialogTest, OkStaysOffForARuntimeThatCannotServe)
{
    const WORD other = kLauncherMachine == IMAGE_FILE_MACHINE_I386 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386;
    const std::wstring java8 = m_folder / L"java8", other11 = m_folder / L"other11", server = m_folder / L"server";
    runtime_test::MakeRuntime(java8, {L"server"}, true, runtime_test::MinimalPeImage(kLauncherMachine));
    WriteBytes(java8 + L"\\release", "JAVA_VERSION=\"1.8.0_382\"\n");
    runtime_test::MakeRuntime(other11, {L"server"}, true, runtime_test::MinimalPeImage(other));
    WriteBytes(other11 + L"\\release", "JAVA_VERSION=\"11.0.21\"\n");
    const std::wstring bits = sizeof(void*) == 8 ? L"64" : L"32";
    const std::wstring outside = L"JRE versi 1.8.0.382 di folder ini tidak sesuai (versi minimum 11.0). "
                                 L"Silakan pilih JRE lain atau download dari:";
    const std::wstring machine = L"JRE di folder ini tidak dapat dimuat oleh launcher " + bits +
                                 L"-bit ini. Silakan pilih JRE lain atau download dari:";
    struct Case {
        const char* name;
        const wchar_t* minimum;
        bool canHandOver;
        std::vector<std::wstring> folders;
        std::vector<std::wstring> lines;  // the message line after each pick
        std::vector<bool> okAfterEach;
    } cases[] = {
        {"Java 8 for a minimum of 11, then one without a version", L"11", true, {java8, server},
         {outside, L"m"}, {false, true}},
        {"Java 8 in an open window", L"any", false, {java8}, {L"m"}, {true}},
        {"another machine type, no pair", L"any", false, {other11, java8}, {machine, L"m"}, {false, true}},
        {"another machine type goes to the pair", L"11", true, {other11}, {L"m"}, {true}},
        {"no library at all after a refused one", L"11", true, {java8, m_folder / L"empty"}, {outside, L"m"},
         {false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RuntimeNeeds needs;
        ParseVersion(String(c.minimum), 0, needs.minimum);
        needs.launcherMachine = kLauncherMachine;
        needs.canHandOver = c.canHandOver;
        RuntimeNotFoundDialog dialog(String(L"m"), JvmType::Any, needs);
        std::vector<std::wstring> lines;
        PickerAnswers answers(c.folders);
        DialogScript script([&](HWND window) {
            for (size_t i = 0; i < c.folders.size(); ++i) {
                PressBrowse(window);
                lines.push_back(ControlText(window, IDC_MESSAGE));
                m_seen.push_back({ControlText(window, IDC_JRE_PATH), ControlEnabled(window, IDOK)});
            }
            PressButton(window, IDOK);  // ends the dialog only while OK is on
        });
        m_seen.clear();
        INT_PTR result = dialog.Show(nullptr);
        EXPECT_EQ(lines, c.lines);
        ASSERT_EQ(m_seen.size(), c.folders.size());
        for (size_t i = 0; i < c.folders.size(); ++i)
            EXPECT_EQ(m_seen[i].okEnabled, c.okAfterEach[i]) << i;
        EXPECT_EQ(result, c.okAfterEach.back() ? IDOK : IDCANCEL);
        EXPECT_EQ(dialog.ChosenJvmLibrary().IsEmpty(), !c.okAfterEach.back());
    }
}

TEST_F(RuntimeNotFoundDialogTest, TheCloseBoxCancels)
{
    RuntimeNotFoundDialog dialog(String(L"m"), JvmType::Any);
    PickerAnswers answers({m_folder / L"server"});
    DialogScript script([&](HWND window) {
        PressBrowse(window);
        SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(dialog.Show(nullptr), IDCANCEL);
}

TEST(RuntimeNotFoundDialogPlacement, ShownInsideTheWorkArea)
{
    RuntimeNotFoundDialog dialog(String(L"m"), JvmType::Any);
    RECT placed = {};
    RECT work = {};
    DialogScript script([&](HWND window) {
        GetWindowRect(window, &placed);
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
        work = info.rcWork;
    });
    dialog.Show(nullptr);
    LONG width = placed.right - placed.left;
    LONG height = placed.bottom - placed.top;
    EXPECT_NEAR(placed.left, work.left + ((work.right - work.left) - width) / 2, 1);
    EXPECT_NEAR(placed.top, work.top + ((work.bottom - work.top) - height) / 2, 1);
}

}  // namespace
