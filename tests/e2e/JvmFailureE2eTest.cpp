// Launches that fail on the way to main: each shows its one message and the
// launcher ends with -1.

#include "e2e/JvmE2eSupport.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::wstring>;

const wchar_t kClassPath[] = L"[Class Path]\nClass Path=C:\\a.jar\n";

std::wstring Ini(const std::wstring& mainClass, const std::wstring& more = L"")
{
    return L"[Java Runtime Environment]\nMain Class=" + mainClass + L"\n" + more + kClassPath;
}

}  // namespace

TEST(JvmFailureE2e, LibraryThatCannotBeLoaded)
{
    JvmApp app(Ini(L"test.RecordArgs"));
    app.folder.WriteFile(L"jre\\bin\\server\\jvm.dll", "not a library at all");
    LaunchResult result = app.Run();
    EXPECT_EQ(kLaunchFailed, result.exitCode);
    Texts messages = result.MessageTexts();
    ASSERT_EQ(1u, messages.size()) << Show(messages);
    std::wstring head = L"Gagal memuat perpustakaan VM Java: " + app.JvmDll() + L" (errno = ";
    EXPECT_EQ(0u, messages[0].find(head)) << Show(messages);
    EXPECT_NE(head + L"0).\n", messages[0]);
    EXPECT_EQ(L").\n", messages[0].substr(messages[0].size() - 3));
    EXPECT_FALSE(app.Log().Has(L"option"));
}

TEST(JvmFailureE2e, LibraryWithoutEntryPoints)
{
    JvmApp app(Ini(L"test.RecordArgs"));
    app.folder.CopyFile(BuildDir() + L"\\fakejvm\\nocreate\\jvm.dll", L"jre\\bin\\server\\jvm.dll");
    LaunchResult result = app.Run();
    EXPECT_EQ(kLaunchFailed, result.exitCode);
    EXPECT_EQ((Texts{L"Pengecualian Windows: tidak menemukan CreateJavaVM JNI (errno = 127).\n"}),
              result.MessageTexts())
        << Show(result.MessageTexts());
}

TEST(JvmFailureE2e, EachCreationFailureHasItsReason)
{
    JvmApp app(Ini(L"test.RecordArgs"));
    struct Row {
        const wchar_t* code;
        const wchar_t* reason;
    } rows[] = {{L"-1", L"tidak dikenal"},      {L"-2", L"utas dilepas dari VM"}, {L"-3", L"versi JNI salah"},
                {L"-4", L"memori tidak cukup"}, {L"-5", L"VM telah dibuat"},      {L"-6", L"argumen tidak benar"},
                {L"-77", L""}};
    for (const Row& row : rows) {
        LaunchOptions options;
        options.env[L"JL_FAKEJVM_CREATE_RESULT"] = row.code;
        LaunchResult result = app.Run(options);
        EXPECT_EQ(kLaunchFailed, result.exitCode) << Show(row.code);
        EXPECT_EQ((Texts{L"Pengecualian JNI: gagal membuat VM Java\nAlasan: " + std::wstring(row.reason) + L".\n"}),
                  result.MessageTexts())
            << Show(row.code);
        EXPECT_FALSE(app.Log().Has(L"main"));
    }
}

TEST(JvmFailureE2e, UnknownOptionFailsCreation)
{
    JvmApp app(Ini(L"test.RecordArgs", L"Virtual Machine Parameters=-Dok=1 --no-such-option\n"));
    LaunchResult result = app.Run();
    EXPECT_EQ(kLaunchFailed, result.exitCode);
    EXPECT_EQ((Texts{L"Pengecualian JNI: gagal membuat VM Java\nAlasan: tidak dikenal.\n"}), result.MessageTexts())
        << Show(result.MessageTexts());
}

TEST(JvmFailureE2e, MainClassNotFound)
{
    JvmApp plain(Ini(L"test.Missing"));
    LaunchResult result = plain.Run();
    EXPECT_EQ(kLaunchFailed, result.exitCode);
    // Named as the settings write it, not in the runtime's internal form.
    EXPECT_EQ((Texts{L"Tidak dapat menemukan main class test.Missing.\n"}), result.MessageTexts())
        << Show(result.MessageTexts());
    EXPECT_TRUE(plain.Log().Has(L"describe"));
}

TEST(JvmFailureE2e, ClassWithoutMain)
{
    // The runtime answers the failed method lookup with NoSuchMethodError,
    // which is described (on the standard error stream) instead of a message.
    JvmApp app(Ini(L"test.NoMain"));
    LaunchResult result = app.Run();
    EXPECT_EQ(kLaunchFailed, result.exitCode);
    EXPECT_EQ(Texts{}, result.MessageTexts()) << Show(result.MessageTexts());
    Texts described = app.Log().Values(L"describe");
    ASSERT_EQ(1u, described.size());
    EXPECT_EQ(0u, described[0].find(L"java.lang.NoSuchMethodError")) << Show(described);
    // The launch thread left the VM, so destroying it did not wait for ever.
    EXPECT_TRUE(app.Log().Has(L"detach"));
}

TEST(JvmFailureE2e, RuntimeHelperEndsTheProgramBeforeMain)
{
    // The runtime's helper reports a class it cannot load, or one without
    // main, on a standard error stream nobody sees and exits with 1. The
    // user gets the launcher's message instead, and the launch fails.
    struct Row {
        const wchar_t* mainClass;
        const wchar_t* message;
    } rows[] = {
        {L"test.Missing", L"Tidak dapat menemukan main class test.Missing.\n"},
        {L"test.NoMain", L"Tidak ditemukan metode utama di class yang ditetapkan.\n"},
    };
    for (const Row& row : rows) {
        JvmApp helper(Ini(row.mainClass), L"helper");
        LaunchResult result = helper.Run();
        EXPECT_EQ(kLaunchFailed, result.exitCode) << Show(row.mainClass);
        EXPECT_EQ((Texts{row.message}), result.MessageTexts()) << Show(result.MessageTexts());
        FakeJvmLog log = helper.Log();
        EXPECT_EQ((Texts{row.mainClass}), log.Values(L"checkAndLoadMain"));
        EXPECT_EQ((Texts{L"1"}), log.Values(L"exit"));
        EXPECT_FALSE(log.Has(L"main"));
    }

    // An exit with 1 from the program's own code keeps its code.
    JvmApp program(Ini(L"test.Exit"), L"helper");
    LaunchOptions options;
    options.args = {L"1"};
    LaunchResult result = program.Run(options);
    EXPECT_EQ(1u, result.exitCode);
    EXPECT_EQ(Texts{}, result.MessageTexts()) << Show(result.MessageTexts());
}

// A class path whose items match nothing (a typing error) names them and the
// folder they were looked up in, and the launch stops there: no VM without
// its class path, parameters and output files. An empty value says so.
TEST(JvmFailureE2e, ClassPathThatMatchesNothingStopsTheLaunch)
{
    struct Row {
        const wchar_t* classPath;
        std::wstring message;  // "@" for the application folder
    } rows[] = {
        {L"lb\\*.jar;nothing.jar;;C:\\x\\*.jar",
         L"Item Class Path berikut tidak cocok dengan file apa pun di @: lb\\*.jar; nothing.jar; C:\\x\\*.jar.\n"},
        {L"", L"Java Class Path tidak ditetapkan di file INI."},
    };
    for (const Row& row : rows) {
        JvmApp app(L"[Java Runtime Environment]\nMain Class=test.RecordArgs\n"
                   L"Virtual Machine Parameters=-Dskipped=1\n[Class Path]\nClass Path=" +
                   std::wstring(row.classPath) + L"\n");
        std::wstring message = row.message;
        if (message.find(L'@') != std::wstring::npos)
            message.replace(message.find(L'@'), 1, app.Path());
        LaunchResult result = app.Run();
        EXPECT_EQ((Texts{message}), result.MessageTexts()) << Show(result.MessageTexts());
        EXPECT_EQ(kLaunchFailed, result.exitCode);
        EXPECT_FALSE(app.Log().Has(L"create"));
    }
}
