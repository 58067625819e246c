// The class-data archive as the VM and the user see it: the options the VM
// gets, the folder under LOCALAPPDATA, what the trace says, and which older
// archives are deleted.

#include "e2e/JvmE2eSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Texts = std::vector<std::wstring>;

const wchar_t kArchiveOption[] = L"-XX:SharedArchiveFile=";

std::wstring Ini(const std::wstring& sharing, const std::wstring& parameters, const std::wstring& classPath)
{
    return L"[Product Information]\nProduct Name=Class/Data\nProduct Code=cd1\n"
           L"[Java Runtime Environment]\nMain Class=test.RecordArgs\nClass Data Sharing=" +
           sharing + L"\nVirtual Machine Parameters=" + parameters + L"\n[Class Path]\nClass Path=" + classPath + L"\n";
}

// The archive's file name when options end with the two archive options for
// the folder, else empty.
std::wstring ArchiveName(const Texts& options, const std::wstring& folder)
{
    if (options.size() < 2 || options.back() != L"-XX:+AutoCreateSharedArchive")
        return L"";
    const std::wstring prefix = kArchiveOption + folder + L"\\launcher-";
    const std::wstring& option = options[options.size() - 2];
    if (option.compare(0, prefix.size(), prefix) != 0 || option.size() != prefix.size() + 16 + 4 ||
        option.compare(option.size() - 4, 4, L".jsa") != 0 ||
        option.find_first_not_of(L"0123456789abcdef", prefix.size()) != option.size() - 4)
        return L"";
    return option.substr(option.size() - 16 - 4 - 9);  // from "launcher-"
}

struct Launch {
    Texts options;
    std::string trace;
};

Launch RunWith(JvmApp& app, const std::wstring& localAppData)
{
    LaunchOptions options;
    options.env[L"LOCALAPPDATA"] = localAppData;
    std::wstring trace = app.Path() + L"\\trace.txt";
    DeleteFileW(trace.c_str());
    options.env[L"JLAUNCH_TRACE"] = trace;
    LaunchResult result = app.Run(options);
    EXPECT_EQ(0u, result.exitCode) << Show(result.MessageTexts());
    return {UserOptions(app.Log()), ReadText(trace)};
}

void SetWriteTime(const std::wstring& path, ULONGLONG time)
{
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    FILETIME written = {static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);
}

}  // namespace

TEST(ClassDataSharingE2e, OptionsMade)
{
    struct Row {
        const char* release;  // the runtime's release file, none when null
        const wchar_t* sharing;
        const wchar_t* parameters;
        bool folderCanBeMade;
        bool archive;
        const char* why;  // in the trace when no archive is added
    } rows[] = {
        {"JAVA_VERSION=\"21.0.2\"\n", L"Yes", L"-Xmx64m", true, true, nullptr},
        {"JAVA_VERSION=\"19\"\n", L"YES", L"", true, true, nullptr},
        {"JAVA_VERSION=\"17.0.9\"\n", L"Yes", L"-Xmx64m", true, false, "runtime 17.0.9 is older than 19"},
        {"JAVA_VERSION=\"1.8.0_392\"\n", L"Yes", L"", true, false, "is older than 19"},
        {nullptr, L"Yes", L"", true, false, "the runtime's version is unknown"},
        {"JAVA_VERSION=\"21\"\n", L"Yes", L"-Xshare:off", true, false, "the VM parameters decide"},
        {"JAVA_VERSION=\"21\"\n", L"Yes", L"-XX:SharedArchiveFile=\"C:\\my app.jsa\"", true, false,
         "the VM parameters decide"},
        {"JAVA_VERSION=\"21\"\n", L"Yes", L"-XX:ArchiveClassesAtExit=C:\\x.jsa", true, false,
         "the VM parameters decide"},
        {"JAVA_VERSION=\"21\"\n", L"Yes", L"", false, false, "cannot be made"},
        {"JAVA_VERSION=\"21\"\n", L"no", L"", true, false, nullptr},
        {"JAVA_VERSION=\"21\"\n", L"", L"", true, false, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.release ? row.release : "no release file") + Show(row.sharing) +
                     Show(row.parameters));
        JvmApp app(Ini(row.sharing, row.parameters, L"C:\\app.jar"));
        if (row.release)
            app.folder.WriteFile(L"jre\\release", row.release);
        std::wstring local = app.Path() + L"\\local";
        if (row.folderCanBeMade)
            app.folder.MakeDir(L"local");
        else
            app.folder.WriteFile(L"local", "a file where the folder would be");
        Launch launch = RunWith(app, local);

        Texts expected = {L"-Djava.class.path=C:\\app.jar"};
        if (*row.parameters) {
            std::wstring passed = row.parameters;  // as the VM gets it: without the quotes
            passed.erase(std::remove(passed.begin(), passed.end(), L'"'), passed.end());
            expected.push_back(passed);
        }
        std::wstring folder = local + L"\\ClassData\\cd1";
        std::wstring name = ArchiveName(launch.options, folder);
        if (row.archive) {
            ASSERT_FALSE(name.empty()) << Show(launch.options) << launch.trace;
            expected.push_back(kArchiveOption + folder + L"\\" + name);
            expected.push_back(L"-XX:+AutoCreateSharedArchive");
            EXPECT_NE(std::string::npos, launch.trace.find("\\" + std::string(name.begin(), name.end()) +
                                                           ": new, the VM writes it"))
                << launch.trace;
        }
        EXPECT_EQ(expected, launch.options);
        if (row.why)
            EXPECT_NE(std::string::npos, launch.trace.find(row.why)) << launch.trace;
    }
}

TEST(ClassDataSharingE2e, OneArchivePerClassPathAndTheNewestStay)
{
    const char* release = "JAVA_VERSION=\"21.0.1\"\n";
    JvmApp app(Ini(L"Yes", L"", L"C:\\a.jar"));
    app.folder.WriteFile(L"jre\\release", release);
    std::wstring local = app.Path() + L"\\local";
    std::wstring folder = local + L"\\ClassData\\cd1";
    app.folder.MakeDir(L"local");

    std::wstring first = ArchiveName(RunWith(app, local).options, folder);
    ASSERT_FALSE(first.empty());
    // The VM has written it: the next launch says that it maps it.
    app.folder.WriteFile(L"local\\ClassData\\cd1\\" + first, "archive");
    Launch again = RunWith(app, local);
    EXPECT_EQ(first, ArchiveName(again.options, folder));
    EXPECT_NE(std::string::npos, again.trace.find("existed before this launch")) << again.trace;

    // Older archives of this launcher, and files that are not its archives.
    const wchar_t* older[] = {L"launcher-00000000000000a1.jsa", L"launcher-00000000000000a2.jsa",
                              L"launcher-00000000000000a3.jsa"};
    ULONGLONG time = 130000000000000000ull;  // 2012
    for (const wchar_t* name : older) {
        app.folder.WriteFile(L"local\\ClassData\\cd1\\" + std::wstring(name), "old");
        SetWriteTime(folder + L"\\" + name, time += 10000000);
    }
    app.folder.WriteFile(L"local\\ClassData\\cd1\\other-00000000000000a0.jsa", "another launcher's");
    app.folder.WriteFile(L"local\\ClassData\\cd1\\launcher-notes.jsa", "not an archive");

    app.folder.WriteIni(Ini(L"Yes", L"", L"C:\\a.jar;C:\\b.jar"));
    std::wstring second = ArchiveName(RunWith(app, local).options, folder);
    ASSERT_FALSE(second.empty());
    EXPECT_NE(first, second) << "another class path, another archive";
    // Beside the new archive, the two newest others stay.
    EXPECT_TRUE(FileExists(folder + L"\\" + first));
    EXPECT_TRUE(FileExists(folder + L"\\" + older[2]));
    EXPECT_FALSE(FileExists(folder + L"\\" + older[1]));
    EXPECT_FALSE(FileExists(folder + L"\\" + older[0]));
    EXPECT_TRUE(FileExists(folder + L"\\other-00000000000000a0.jsa"));
    EXPECT_TRUE(FileExists(folder + L"\\launcher-notes.jsa"));
}
