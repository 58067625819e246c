// Messages files: the format check on a table of conversions, the dialog
// templates read back byte for byte and grown for longer texts, and the
// English set messages/en.ini against the launcher's own string table and
// dialogs, read with the system's calls.

#include "DialogFit.h"
#include "DialogTemplate.h"
#include "MessageFormat.h"
#include "MessagesFile.h"

#include "BrandTestSupport.h"

#include "base/GdiScope.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

Bytes ToBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

INT_PTR CALLBACK Ignore(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

std::set<std::wstring> IniKeys(const std::wstring& file, const wchar_t* section)
{
    std::wstring keys(32768, L'\0');
    keys.resize(GetPrivateProfileStringW(section, nullptr, L"", &keys[0], 32768, file.c_str()));
    std::set<std::wstring> result;
    for (size_t at = 0; at < keys.size(); at = keys.find(L'\0', at) + 1)
        result.insert(keys.substr(at, keys.find(L'\0', at) - at));
    return result;
}

// The keys a messages file gives the dialog's texts, read from the dialog as
// the system creates it: Caption, and each control with a text by its id
// ("ID.N" for the N-th of several controls with one id).
std::set<std::wstring> DialogKeys(const std::wstring& exe, int dialogId)
{
    ResourceData data = ReadResource(exe, RT_DIALOG, MAKEINTRESOURCEW(dialogId));
    EXPECT_TRUE(data.found) << dialogId;
    if (!data.found)
        return {};
    UniqueWindow dialog(CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(data.bytes.data()), nullptr, Ignore, 0));
    EXPECT_TRUE(dialog) << dialogId;
    std::vector<std::pair<int, bool>> controls;  // id, shows a text
    for (HWND child = GetWindow(dialog.get(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[512] = {}, className[64] = {};
        GetWindowTextW(child, text, 512);
        GetClassNameW(child, className, 64);
        bool icon = lstrcmpiW(className, L"Static") == 0 && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        int id = GetDlgCtrlID(child);
        controls.emplace_back(id == 0xFFFF ? -1 : id, text[0] != 0 && !icon);
    }
    std::set<std::wstring> keys = {L"Caption"};
    std::map<int, int> seen;
    for (const auto& control : controls) {
        int n = ++seen[control.first];
        int total = 0;
        for (const auto& other : controls)
            total += other.first == control.first;
        if (control.second)
            keys.insert(std::to_wstring(control.first) + (total > 1 ? L"." + std::to_wstring(n) : L""));
    }
    return keys;
}

}  // namespace

TEST(BrandMessages, ReplacementsKeepTheConversionsInOrder)
{
    struct Row {
        const wchar_t* original;
        const wchar_t* replacement;
        bool kept;
    } rows[] = {
        {L"Tidak dapat menemukan main class %s.\n", L"Cannot find the main class %s.\n", true},
        {L"Pengecualian Windows: %s (errno = %d).\n", L"Windows error %s, code %d", true},
        {L"versi antara %s dan %s", L"%s to %s", true},
        {L"Main class tidak ditetapkan di file INI.", L"No main class.", true},
        {L"gagal %u kali", L"failed %u times", true},
        {L"versi minimum %s", L"at least %s (100%% sure)", true},
        {L"versi terbaru", L"100%% latest", true},
        {L"Tidak dapat menemukan main class %s.\n", L"Cannot find the main class.", false},      // missing
        {L"Pengecualian Windows: %s (errno = %d).\n", L"Windows error %s", false},                // missing
        {L"versi minimum %s", L"minimum %s, %s", false},                                          // extra
        {L"Main class tidak ditetapkan di file INI.", L"No main class %s.", false},              // gained
        {L"Pengecualian Windows: %s (errno = %d).\n", L"Error %d: %s", false},                    // reordered
        {L"Pengecualian Windows: %s (errno = %d).\n", L"Windows error %s (errno = %u)", false},   // different
        {L"versi minimum %s", L"minimum %ls", false},
        {L"versi minimum %s", L"minimum %10s", false},
        {L"versi minimum %s", L"minimum %S", false},
        {L"versi minimum %s", L"minimum %s (100% sure)", false},  // "% s" reads an argument
        {L"versi terbaru", L"latest 100%", false},                // a "%" at the end
        {L"versi terbaru", L"latest %x", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.kept, KeepsConversions(row.original, row.replacement)) << Narrow(row.replacement);
    EXPECT_EQ((std::vector<std::wstring>{L"%s", L"%d", L"%-5I64d", L"%"}), Conversions(L"%s%%%d %-5I64d 100%"));
    EXPECT_EQ(L"at least 17 (100%)", FillConversions(L"at least %s (100%%)", L"17"));
}

TEST(BrandMessages, ValuesKeepQuotedBlanksAndEscapes)
{
    MessagesFile messages;
    std::wstring reason;
    ASSERT_TRUE(ParseMessagesFile(L"; comment\r\n[strings]\r\n208 = \" a\\tb \"\n# comment\n217=x\\\\y\\n\r"
                                  L"[RUNTIME DIALOG]\ncaption = JRE \"?\"\n-1.2=\n",
                                  messages, reason))
        << Narrow(reason);
    ASSERT_EQ(2u, messages.strings.size());
    EXPECT_EQ(208, messages.strings[0].id);
    EXPECT_EQ(L" a\tb ", messages.strings[0].text);
    EXPECT_EQ(3u, messages.strings[0].line);
    EXPECT_EQ(L"x\\y\n", messages.strings[1].text);
    ASSERT_EQ(2u, messages.runtimeDialog.size());
    EXPECT_TRUE(messages.runtimeDialog[0].control.caption);
    EXPECT_EQ(L"JRE \"?\"", messages.runtimeDialog[0].text);
    EXPECT_EQ(-1, messages.runtimeDialog[1].control.id);
    EXPECT_EQ(2u, messages.runtimeDialog[1].control.occurrence);
    EXPECT_EQ(L"", messages.runtimeDialog[1].text);
    EXPECT_TRUE(messages.exceptionDialog.empty());
    EXPECT_EQ(L"\"a\\n\\t\\\\\"", QuotedText(L"a\n\t\\"));
}

// The launcher's dialogs are written back exactly as they were read.
TEST(BrandMessages, DialogTemplatesReadBackWhole)
{
    for (int id : {IDD_RUNTIME_NOT_FOUND, IDD_EXCEPTION}) {
        ResourceData data = ReadResource(BuiltLauncher(), RT_DIALOG, MAKEINTRESOURCEW(id));
        ASSERT_TRUE(data.found);
        DialogTemplate dialog;
        ASSERT_TRUE(ParseDialogTemplate(ToBytes(data.bytes), dialog)) << id;
        EXPECT_EQ(ToBytes(data.bytes), BuildDialogTemplate(dialog)) << id;
        Bytes cut = ToBytes(data.bytes);
        cut.resize(cut.size() - 3);
        EXPECT_FALSE(ParseDialogTemplate(cut, dialog)) << id;
    }
}

TEST(BrandMessages, GrowingAControlMovesWhatLiesBelow)
{
    // A frame around a text at 20 and a button beside it, an edit below the
    // text inside the frame, and a button below the frame.
    DialogTemplate dialog;
    dialog.cy = 120;
    auto add = [&](int16_t x, int16_t y, int16_t cx, int16_t cy) {
        DialogControl control;
        control.x = x;
        control.y = y;
        control.cx = cx;
        control.cy = cy;
        dialog.controls.push_back(control);
    };
    add(0, 10, 100, 80);  // frame
    add(10, 20, 50, 8);   // text
    add(70, 18, 20, 14);  // button beside, reaching above and below the text
    add(10, 40, 50, 14);  // edit
    add(10, 100, 50, 14); // button
    ASSERT_TRUE(GrowControl(dialog, 1, 24));
    std::vector<std::pair<int, int>> expected = {{10, 96}, {20, 24}, {18, 14}, {56, 14}, {116, 14}};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].first, dialog.controls[i].y) << i;
        EXPECT_EQ(expected[i].second, dialog.controls[i].cy) << i;
    }
    EXPECT_EQ(136, dialog.cy);
    EXPECT_FALSE(GrowControl(dialog, 1, 0x7FFF));
    EXPECT_EQ(136, dialog.cy);

    // 4.5 units a character, words wrapped: 40 units hold 8 characters.
    EXPECT_EQ(0, EstimatedTextHeight(L"", 40));
    EXPECT_EQ(8, EstimatedTextHeight(L"abc defg", 40));
    EXPECT_EQ(16, EstimatedTextHeight(L"abc defgh", 40));
    EXPECT_EQ(16, EstimatedTextHeight(L"abc\ndefg", 40));
    EXPECT_EQ(16, EstimatedTextHeight(L"https://www.example.com/download/ x", 40));
}

// Every text of the launcher has an English text, and nothing more: a new
// string or control without one fails here.
TEST(BrandMessages, TheEnglishSetCoversEveryText)
{
    std::wstring english = EnglishMessages();
    ASSERT_TRUE(FileExists(english)) << Narrow(english);
    std::set<std::wstring> strings;
    UniqueModule launcher(LoadLibraryExW(BuiltLauncher().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(launcher);
    for (const std::wstring& block : ResourceNames(BuiltLauncher(), RT_STRING)) {
        unsigned first = (std::stoul(block.substr(1)) - 1) * 16;
        wchar_t text[1024];
        for (unsigned id = first; id < first + 16; ++id)
            if (LoadStringW(launcher.get(), id, text, 1024) > 0)
                strings.insert(std::to_wstring(id));
    }
    EXPECT_GE(strings.size(), 29u);
    EXPECT_EQ(strings, IniKeys(english, L"Strings"));
    EXPECT_EQ(DialogKeys(BuiltLauncher(), IDD_RUNTIME_NOT_FOUND), IniKeys(english, L"Runtime Dialog"));
    EXPECT_EQ(DialogKeys(BuiltLauncher(), IDD_EXCEPTION), IniKeys(english, L"Exception Dialog"));
}
