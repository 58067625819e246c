// A launcher branded with the English set (messages/en.ini) speaks English:
// in the runtime-not-found dialog, whose texts still fit their controls when
// measured in the dialog's font, and in its message boxes, formats filled.
// Messages files the tool refuses say why and leave no output.

#include "Brand.h"

#include "BrandTestSupport.h"
#include "e2e/JvmE2eSupport.h"

#include "base/GdiScope.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

// Brands this build's launcher with the messages file and installs it in app
// as MyApp.exe, with the INI text and a stand-in runtime.
void InstallEnglishLauncher(AppFolder& app, const std::wstring& ini, bool withRuntime)
{
    TempFolder work(L"jl-messages-");
    BrandOptions options;
    options.launcher = BuiltLauncher();
    options.output = work.Path() + L"\\MyApp.exe";
    options.name = L"My App";
    options.version = L"1.2.3.4";
    options.messages = EnglishMessages();
    std::wstring error;
    ASSERT_TRUE(BrandLauncher(options, error)) << Narrow(error);
    app.CopyLauncher(L"MyApp.exe", options.output);
    app.WriteIni(ini);
    app.WriteFile(L"lib\\app.jar", "PK");
    if (withRuntime)
        app.InstallRuntime(L"jre");
}

struct MeasuredText {
    int id = 0;
    std::wstring text;
    SIZE needed = {};  // pixels, at the control's width
    SIZE room = {};    // the control's client area
};

// Every text of the dialog's controls but the edits and the icon, measured
// in the dialog's font (MS Shell Dlg, 8 points): static texts wrapped at
// their control's width, buttons and frames on one line.
std::vector<MeasuredText> MeasureTexts(HWND dialog)
{
    std::vector<MeasuredText> measured;
    UniqueScreenDc screen(GetDC(nullptr));
    int height = -MulDiv(8, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    UniqueGdiObject font(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                                     L"MS Shell Dlg"));
    SelectionScope selected(screen.get(), font.get());
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[64] = {}, text[1024] = {};
        GetClassNameW(child, className, 64);
        GetWindowTextW(child, text, 1024);
        LONG style = GetWindowLongW(child, GWL_STYLE);
        bool isStatic = lstrcmpiW(className, L"Static") == 0;
        if (!text[0] || lstrcmpiW(className, L"Edit") == 0 || (isStatic && (style & SS_TYPEMASK) == SS_ICON))
            continue;
        MeasuredText item;
        item.id = GetDlgCtrlID(child);
        item.text = text;
        RECT client = {};
        GetClientRect(child, &client);
        item.room = {client.right, client.bottom};
        RECT rect = {0, 0, client.right, 0};
        DrawTextW(screen.get(), text, -1, &rect,
                  DT_CALCRECT | (isStatic ? DT_WORDBREAK : DT_SINGLELINE) | DT_NOPREFIX);
        item.needed = {rect.right, rect.bottom};
        measured.push_back(item);
    }
    return measured;
}

const wchar_t kIni[] = L"[Java Runtime Environment]\nMain Class=test.RecordArgs\nMinimum Version=1.8\n"
                       L"Maximum Version=17.0.1\n[Class Path]\nClass Path=lib\\*.jar\n";

}  // namespace

TEST(BrandMessagesE2e, TheRuntimeDialogIsEnglishAndItsTextsFit)
{
    AppFolder app;
    ASSERT_NO_FATAL_FAILURE(InstallEnglishLauncher(app, kIni, false));
    LaunchOptions options;
    options.env[L"JAVA_HOME"] = L"";
    options.env[L"APPDATA"] = app.Path() + L"\\appdata";
    int dialogs = 0;
    options.onWindow = [&](const SeenWindow& window) {
        if (window.isMessageBox)
            return IDOK;
        ++dialogs;
        EXPECT_EQ(L"JRE Not Found", window.title);
        EXPECT_EQ(L"No Java Runtime Environment (JRE) was found. Please download and install one "
                  L"(a version from 1.8 to 17.0.1) from:",
                  window.controlTexts.at(IDC_MESSAGE));
        EXPECT_EQ(L"If you have already installed a JRE, please browse to it below:",
                  window.controlTexts.at(IDC_BROWSE_HINT));
        EXPECT_EQ(L"Cancel", window.controlTexts.at(IDCANCEL));
        std::vector<MeasuredText> texts = MeasureTexts(window.hwnd);
        EXPECT_GE(texts.size(), 8u);
        std::vector<std::wstring> withoutId;  // -1.1 and -1.2 of the messages file, in order
        for (const MeasuredText& text : texts)
            if (text.id == 0xFFFF || text.id == -1)
                withoutId.push_back(text.text);
        EXPECT_EQ((std::vector<std::wstring>{L"JRE path:", L"JRE Missing"}), withoutId) << Show(withoutId);
        for (const MeasuredText& text : texts) {
            // The link keeps the built-in address, which is wider than its
            // control until the launcher sizes the link to its text.
            if (text.id == IDC_DOWNLOAD_LINK)
                continue;
            EXPECT_LE(text.needed.cx, text.room.cx) << Narrow(text.text);
            EXPECT_LE(text.needed.cy, text.room.cy) << Narrow(text.text);
        }
        return IDCANCEL;
    };
    LaunchResult result = RunLauncher(app, options);
    EXPECT_EQ(1, dialogs);
    EXPECT_EQ(kLaunchFailed, result.exitCode);
}

TEST(BrandMessagesE2e, MessageBoxesAreEnglish)
{
    struct Row {
        const wchar_t* ini;
        const wchar_t* message;
    } rows[] = {
        {L"[Class Path]\nClass Path=lib\\*.jar\n", L"The main class is not set in the INI file."},
        {L"[Java Runtime Environment]\nMain Class=test.Missing\n[Class Path]\nClass Path=lib\\*.jar\n",
         L"Cannot find the main class test.Missing.\n"},
    };
    for (const Row& row : rows) {
        AppFolder app;
        ASSERT_NO_FATAL_FAILURE(InstallEnglishLauncher(app, row.ini, true));
        LaunchOptions options;
        options.env[L"JAVA_HOME"] = L"";
        LaunchResult result = RunLauncher(app, options);
        EXPECT_EQ(kLaunchFailed, result.exitCode);
        EXPECT_EQ(std::vector<std::wstring>{row.message}, result.MessageTexts()) << Show(result.MessageTexts());
    }
}

TEST(BrandMessagesE2e, RefusedMessagesLeaveNoOutput)
{
    TempFolder folder(L"jl-messages-");
    struct Row {
        std::string file;
        const char* error;
    } rows[] = {
        {"[Strings]\n215=Cannot find %d\n",
         "line 2: string 215 \"Cannot find %d\" must hold the conversions of the built-in text "
         "\"Tidak dapat menemukan main class %s.\\n\" in their order (%s) and no others; it holds %d"},
        {"[Strings]\n210=No main class %s\n", "string 210 \"No main class %s\""},
        {"[Strings]\n231=unused\n", "line 2: the launcher has no string 231"},
        {"[Strings]\n210=\n", "string 210 is empty"},
        {"[Strings]\n210=C:\\path\n", "holds a \"\\\" other than"},
        {"[Text]\n210=x\n", "unknown section [Text]"},
        {"210=x\n", "a text outside a section"},
        {"[Runtime Dialog]\n-1=JRE path:\n", "dialog 201 has 2 controls with id -1: name them -1.1 to -1.2"},
        {"[Runtime Dialog]\n204=icon\n", "control 204 of dialog 201 shows a picture"},
        {"[Exception Dialog]\n299=x\n", "dialog 231 has no control 299"},
        {"[Exception Dialog]\nTitle=x\n", "\"Title\" is neither Caption nor a control id"},
        {"[Strings]\n210=caf\xE9\n", "it is not UTF-8"},
    };
    CreateDirectoryW((folder.Path() + L"\\out").c_str(), nullptr);
    for (const Row& row : rows) {
        ASSERT_TRUE(WriteBytes(folder.Path() + L"\\bad.ini", row.file));
        ToolRun run = RunBrandTool(
            L"\"" + BuiltLauncher() + L"\" out\\MyApp.exe --name App --version 1.2.3.4 --messages bad.ini", folder.Path());
        EXPECT_EQ(1u, run.exitCode) << row.file;
        EXPECT_NE(std::string::npos, run.errors.find(row.error)) << run.errors;
        EXPECT_TRUE(FilesIn(folder.Path() + L"\\out").empty()) << row.file;
    }
}
