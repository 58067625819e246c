#include "base/Encoding.h"
#include "core/LauncherApp.h"
#include "jvm/AnsiPaths.h"
#include "jvm/HostTestSupport.h"
#include "jvm/TestText.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

// A volume that makes no short names: the long name is all there is, as
// GetShortPathNameW answers with 8.3 names switched off.
DWORD WINAPI NoShortNames(const wchar_t* path, wchar_t* shortPath, DWORD size)
{
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    DWORD length = static_cast<DWORD>(wcslen(path));
    if (size <= length)
        return length + 1;
    wcscpy(shortPath, path);
    return length;
}

std::wstring ShortOf(const std::wstring& path)
{
    wchar_t buffer[1024];
    DWORD n = GetShortPathNameW(path.c_str(), buffer, 1024);
    return n > 0 && n < 1024 ? std::wstring(buffer, n) : L"<no short name>";
}

std::wstring Replace(std::wstring text, const std::wstring& from, const std::wstring& to)
{
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

const wchar_t kName[] = L"cp-\u0414\u043c\u0438\u0442\u0440\u0438\u0439";  // outside 1252

}  // namespace

// Each option as the runtime gets it: {dir} is a folder named outside the
// code page holding lib\a.jar, {short} its short form.
TEST(AnsiOptionsTest, OptionsOutsideTheCodePage)
{
    ASSERT_EQ(1252, ThreadAnsiCodePage()) << "the rows assume Cyrillic lies outside the code page";
    TempFolder temp;
    std::wstring dir = temp.Path() + L"\\" + kName;
    ASSERT_TRUE(WriteBytes(dir + L"\\lib\\a.jar", "PK"));
    std::wstring shortDir = ShortOf(dir);
    std::wstring shortJar = ShortOf(dir + L"\\lib\\a.jar");
    std::wstring noShort = L"Lintasan {dir}\\lib\\a.jar tidak dapat diteruskan ke runtime Java: namanya memuat karakter di "
                           L"luar code page ANSI sistem ini (1252), dan volumenya tidak memberikan nama pendek (8.3) "
                           L"yang dapat dipakai sebagai gantinya.\n";
    struct Row {
        const wchar_t* option;
        bool shortNames;
        const wchar_t* passed;    // the option string, or null
        const wchar_t* property;  // set once the VM exists, or null
        const wchar_t* refusal;   // start of the message, or null
    } rows[] = {
        {L"-Xmx64m", true, L"-Xmx64m", nullptr, nullptr},
        {L"-Djava.class.path={dir}\\lib\\a.jar;C:\\x.jar", true, L"-Djava.class.path={short}\\lib\\a.jar;C:\\x.jar",
         nullptr, nullptr},
        // Not there yet: the folder's short form and the name as written.
        {L"--module-path={dir}\\mods", true, L"--module-path={short}\\mods", nullptr, nullptr},
        {L"-Duser.home={dir}", true, L"-Duser.home={short}", nullptr, nullptr},
        {L"-Djava.class.path={dir}\\lib\\a.jar", false, nullptr, nullptr, noShort.c_str()},
        {L"-Djava.class.path=C:\\x.jar;{dir}\\\u0416.jar", true, nullptr, nullptr,
         L"Lintasan {dir}\\\u0416.jar tidak dapat diteruskan ke runtime Java: namanya memuat karakter di luar code page "
         L"ANSI sistem ini (1252), dan lintasan itu tidak ada"},
        {L"-Dapp.dir={dir}", false, nullptr, L"app.dir={dir}", nullptr},
        {L"-D\u0444\u043b\u0430\u0433", true, nullptr, L"\u0444\u043b\u0430\u0433=", nullptr},
        {L"-Dfile.encoding=\u0416", true, nullptr, nullptr, L"Parameter VM -Dfile.encoding=\u0416 tidak dapat diteruskan"},
        {L"-XX:HeapDumpPath={dir}", true, nullptr, nullptr, L"Parameter VM -XX:HeapDumpPath={dir} tidak dapat"},
        {L"-Djdk.module.main=\u0416", true, nullptr, nullptr, L"Main module \u0416/app.Main tidak dapat dimuat"},
    };
    for (const Row& row : rows) {
        std::wstring option = Replace(row.option, L"{dir}", dir);
        SCOPED_TRACE(Narrow(option));
        ShortPathFunction previous = SetShortPathFunction(row.shortNames ? nullptr : &NoShortNames);
        LauncherApp app;
        app.m_mainModule = L"\u0416/app.Main";
        String refusal;
        bool added = app.AddAnsiOption(String(option.c_str()), refusal);
        SetShortPathFunction(previous);

        EXPECT_EQ(row.refusal == nullptr, added);
        std::wstring passed = row.passed ? Replace(Replace(Replace(row.passed, L"{dir}", dir), L"{short}\\lib\\a.jar", shortJar), L"{short}", shortDir) : L"";
        EXPECT_EQ(passed, app.m_jvmOptions.IsEmpty() ? L"" : Std(FromAnsi(app.m_jvmOptions[0].CStr())));
        EXPECT_EQ(row.property ? Replace(row.property, L"{dir}", dir) : L"",
                  app.m_lateProperties.IsEmpty() ? L"" : Std(app.m_lateProperties[0]));
        std::wstring expected = row.refusal ? Replace(row.refusal, L"{dir}", dir) : L"";
        EXPECT_EQ(expected, Std(refusal).substr(0, expected.size()));
    }
}

// Folders of the system's search path that the runtime cannot be told of are
// left out of the library path; the application's own are not.
TEST(AnsiOptionsTest, SystemFoldersWithoutAFormAreLeftOut)
{
    TempFolder temp;
    std::wstring gone = temp.Path() + L"\\" + kName;
    StringList system;
    system.Append(String(gone.c_str()));
    LauncherApp app;
    String refusal;
    std::wstring option = L"-Djava.library.path=C:\\app;" + gone + L";C:\\windows";
    EXPECT_TRUE(app.AddAnsiOption(String(option.c_str()), refusal, &system));
    ASSERT_EQ(1, app.m_jvmOptions.Count());
    EXPECT_EQ(L"-Djava.library.path=C:\\app;C:\\windows", Std(FromAnsi(app.m_jvmOptions[0].CStr())));
    EXPECT_FALSE(app.AddAnsiOption(String((L"-Djava.library.path=" + gone).c_str()), refusal));
    EXPECT_NE(std::wstring::npos, Std(refusal).find(gone));
}
