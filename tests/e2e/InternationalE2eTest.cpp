// An application in a folder whose name is outside the ANSI code page, on
// the stand-in runtime, which reads its option strings in that code page as
// a real one does: paths arrive in a form that names the same files, system
// properties arrive exactly, and what cannot arrive is named in a message.

#include "e2e/LaunchModesE2eSupport.h"

#include <gtest/gtest.h>

namespace {

// Whether text comes through the ANSI code page exactly.
bool SurvivesCodePage(const std::wstring& text)
{
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0, nullptr, &usedDefault);
    return !usedDefault;
}

// A person's name outside this system's code page (Cyrillic for 1252).
std::wstring NameOutsideCodePage()
{
    for (const wchar_t* name : {L"\u0414\u043c\u0438\u0442\u0440\u0438\u0439", L"\u0395\u03bb\u03ad\u03bd\u03b7",
                                L"\u738b\u82b3"})
        if (!SurvivesCodePage(name))
            return name;
    ADD_FAILURE() << "no test name lies outside code page " << GetACP();
    return L"";
}

std::wstring LongPath(const std::wstring& path)
{
    wchar_t buffer[1024];
    DWORD n = GetLongPathNameW(path.c_str(), buffer, 1024);
    return n > 0 && n < 1024 ? std::wstring(buffer, n) : L"<none: " + path + L">";
}

std::string Utf8(const std::wstring& text)
{
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0],
                                     static_cast<int>(bytes.size()), nullptr, nullptr));
    return bytes;
}

std::wstring Ini(const std::wstring& mainClass, const std::wstring& classPath, const std::wstring& parameters = L"",
                 const std::wstring& libraryPath = L"")
{
    return L"[Java Runtime Environment]\nMain Class=" + mainClass + L"\nVirtual Machine Parameters=" + parameters +
           L"\nLibrary Path=" + libraryPath + L"\n[Class Path]\nClass Path=" + classPath + L"\n";
}

// The launcher, its settings and its runtime in <temp folder>\cp-<name>\app.
struct InternationalApp {
    AppFolder folder;
    std::wstring home;

    InternationalApp(const std::wstring& name, const std::wstring& ini, const std::wstring& variant = L"plain")
    {
        std::wstring relative = L"cp-" + name + L"\\app";
        folder.CopyLauncher(relative + L"\\launcher.exe");
        folder.InstallRuntime(relative + L"\\jre", L"server", variant);
        folder.WriteFile(relative + L"\\lib\\a.jar", "PK");
        folder.WriteIni(ini);
        home = folder.Path() + L"\\" + relative;
    }
    LaunchResult Run(LaunchOptions options = {})
    {
        DeleteFileW(folder.LogPath().c_str());
        options.env[L"JAVA_HOME"] = L"";
        options.env[L"JL_FAKEJVM_LINGER_MS"] = L"0";
        options.env[L"JLAUNCH_TRACE"] = folder.Path() + L"\\trace.txt";
        return RunLauncher(folder, options);
    }
    FakeJvmLog Log() const { return FakeJvmLog::Read(folder.LogPath()); }
    std::string Trace() const { return ReadText(folder.Path() + L"\\trace.txt"); }
};

// No option holds the code page's default character: nothing was lost on
// the way (look-alikes are caught by the paths below naming other files).
void ExpectNothingReplaced(const Texts& options)
{
    for (const std::wstring& option : options)
        EXPECT_EQ(std::wstring::npos, option.find_first_of(L"?\uFFFD")) << Show(option);
}

// The long names of the items of an option's path list.
Texts PathItems(const Texts& options, const std::wstring& prefix)
{
    Texts items;
    for (const std::wstring& option : options) {
        if (option.compare(0, prefix.size(), prefix) != 0)
            continue;
        for (size_t start = prefix.size(); start <= option.size();) {
            size_t end = std::min(option.find(L';', start), option.size());
            std::wstring item = option.substr(start, end - start);
            size_t slash = item.rfind(L'\\');
            // An item that does not exist yet: its folder's long name.
            items.push_back(GetFileAttributesW(item.c_str()) != INVALID_FILE_ATTRIBUTES
                                ? LongPath(item)
                                : LongPath(item.substr(0, slash)) + item.substr(slash));
            start = end + 1;
        }
    }
    return items;
}

}  // namespace

TEST(InternationalE2e, AnApplicationInAFolderNamedOutsideTheCodePageStarts)
{
    std::wstring name = NameOutsideCodePage();
    const std::wstring greeting = L"\u041f\u0440\u0438\u0432\u0435\u0442, " + name;
    InternationalApp app(name, Ini(L"test.Properties", L"lib\\*.jar;%JL_HOME%\\later.jar",
                                   L"-Xmx64m \"-Dapp.greeting=" + greeting + L"\" -Dapp.home=%JL_HOME% -Dplain=abc",
                                   L"%JL_HOME%\\native"));
    app.folder.MakeDir(L"cp-" + name + L"\\app\\native");
    LaunchOptions options;
    options.env[L"JL_HOME"] = app.home;
    LaunchResult result = app.Run(options);
    EXPECT_EQ(0u, result.exitCode);
    EXPECT_EQ(Texts{}, result.MessageTexts()) << Show(result.MessageTexts());

    FakeJvmLog log = app.Log();
    Texts options_ = UserOptions(log);
    ExpectNothingReplaced(options_);
    // The class path names the application's files: a jar that is there, and
    // one that is not there yet in the application's folder.
    EXPECT_EQ((Texts{app.home + L"\\lib\\a.jar", app.home + L"\\later.jar"}),
              PathItems(options_, L"-Djava.class.path="));
    Texts library = PathItems(options_, L"-Djava.library.path=");
    ASSERT_FALSE(library.empty());
    EXPECT_EQ(app.home + L"\\native", library[0]);
    // Properties outside the code page are no option strings; the others are.
    EXPECT_EQ((Texts{L"-Xmx64m", L"-Dplain=abc"}), Texts(options_.end() - 2, options_.end())) << Show(options_);
    EXPECT_EQ((std::vector<Texts>{{L"setproperty", L"app.greeting", greeting},
                                  {L"setproperty", L"app.home", app.home}}),
              log.All(L"setproperty"));
    // They are set before the main class is looked up, and main reads them.
    size_t set = 0, lookup = 0;
    for (size_t i = 0; i < log.records.size(); ++i) {
        if (log.records[i][0] == L"setproperty")
            set = i;
        if (lookup == 0 && (log.records[i][0] == L"findclass" || log.records[i][0] == L"forname") &&
            log.records[i][1].find(L"Properties") != std::wstring::npos)
            lookup = i;
    }
    EXPECT_LT(set, lookup);
    Texts seen;
    for (const Texts& property : log.All(L"property"))
        if (property[1].compare(0, 4, L"app.") == 0 || property[1] == L"plain")
            seen.push_back(property[1] + L"=" + property[2]);
    EXPECT_EQ((Texts{L"app.greeting=" + greeting, L"app.home=" + app.home, L"plain=abc"}), seen);
    EXPECT_NE(std::string::npos,
              app.Trace().find("system property set through System.setProperty 1: app.greeting=" + Utf8(greeting)))
        << app.Trace();
}

// A best-fit conversion makes look-alikes of letters the code page lacks
// ("\u0141\u00f3d\u017a" would become "L\u00f3dz"); with a folder of that
// name next to the application, the runtime would be sent there.
TEST(InternationalE2e, LookAlikesNeverNameAnotherFolder)
{
    const std::wstring name = L"\u0141\u00f3d\u017a";
    const std::wstring value = L"\u0142\u00f3d\u017a \uFF02quoted\uFF02";
    char bytes[64];
    int n = WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, bytes, 64, nullptr, nullptr);
    wchar_t back[64];
    std::wstring lookAlike(back, n > 0 ? MultiByteToWideChar(CP_ACP, 0, bytes, -1, back, 64) - 1 : 0);
    if (SurvivesCodePage(name) || lookAlike.find(L'?') != std::wstring::npos)
        GTEST_SKIP() << "code page " << GetACP() << " has no look-alikes for " << Show(name);
    InternationalApp app(name, Ini(L"test.Properties", L"lib\\a.jar", L"\"-Dcity=" + value + L"\""));
    app.folder.WriteFile(L"cp-" + lookAlike + L"\\app\\lib\\a.jar", "PK");

    EXPECT_EQ(0u, app.Run().exitCode);
    FakeJvmLog log = app.Log();
    Texts options = UserOptions(log);
    EXPECT_EQ(Texts{app.home + L"\\lib\\a.jar"}, PathItems(options, L"-Djava.class.path=")) << Show(options);
    EXPECT_EQ((std::vector<Texts>{{L"setproperty", L"city", value}}), log.All(L"setproperty"));
}

// A file that is not there has no short name.
TEST(InternationalE2e, AMissingFileNamedOutsideTheCodePageIsNamedInAMessage)
{
    std::wstring name = NameOutsideCodePage();
    InternationalApp app(name, Ini(L"test.Properties", L"%JL_HOME%\\" + name + L".jar"));
    LaunchOptions options;
    options.env[L"JL_HOME"] = app.home;
    LaunchResult result = app.Run(options);
    EXPECT_EQ(kLaunchFailed, result.exitCode);
    EXPECT_EQ(Texts{L"Lintasan " + app.home + L"\\" + name +
                    L".jar tidak dapat diteruskan ke runtime Java: namanya memuat karakter di luar code page ANSI "
                    L"sistem ini (" + std::to_wstring(GetACP()) + L"), dan lintasan itu tidak ada, sehingga tidak "
                    L"memiliki nama pendek (8.3) sebagai gantinya.\n"},
              result.MessageTexts());
    EXPECT_FALSE(app.Log().Has(L"create"));
}

TEST(InternationalE2e, AVolumeWithoutShortNamesGivesTheMessage)
{
    std::wstring name = NameOutsideCodePage();
    std::wstring cp = std::to_wstring(GetACP());
    InternationalApp app(name, Ini(L"test.Properties", L"lib\\a.jar"));
    wchar_t shortPath[1024];
    DWORD n = GetShortPathNameW(app.home.c_str(), shortPath, 1024);
    if (n > 0 && n < 1024 && SurvivesCodePage(shortPath))
        GTEST_SKIP() << "this volume gives the folder the short name " << Show(shortPath)
                     << " (Wine makes one for every name); the message for a volume without them is covered by "
                        "AnsiOptionsTest with a short-name lookup that finds none";
    LaunchResult result = app.Run();
    EXPECT_EQ(kLaunchFailed, result.exitCode);
    EXPECT_EQ(Texts{L"Lintasan " + app.home + L"\\lib\\a.jar tidak dapat diteruskan ke runtime Java: namanya memuat "
                    L"karakter di luar code page ANSI sistem ini (" + cp + L"), dan volumenya tidak memberikan nama "
                    L"pendek (8.3) yang dapat dipakai sebagai gantinya.\n"},
              result.MessageTexts());
}

// A main class named outside the code page is looked up through Java
// strings, for the first start and for later ones.
TEST(InternationalE2e, AMainClassNamedOutsideTheCodePage)
{
    const std::wstring mainClass = L"test.\u041f\u0440\u0438\u043b\u043e\u0436\u0435\u043d\u0438\u0435";
    for (const wchar_t* variant : {L"plain", L"helper"}) {
        SCOPED_TRACE(Show(variant));
        JvmApp app(SingleInstanceIni(mainClass), variant);
        std::future<LaunchResult> first = StartFirstInstance(app);
        LaunchOptions options;
        options.args = {L"x", L"y"};
        EXPECT_EQ(2u, RunLauncher(app.folder, options).exitCode);
        EXPECT_EQ(0u, first.get().exitCode);
        FakeJvmLog log = app.Log();
        EXPECT_EQ(Texts{L"test/\u041f\u0440\u0438\u043b\u043e\u0436\u0435\u043d\u0438\u0435"}, log.Values(L"main"));
        EXPECT_EQ((std::vector<Texts>{{L"x", L"y"}}), SecondaryCalls(log));
    }
}
