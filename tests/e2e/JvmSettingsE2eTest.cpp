// Settings as the VM and the Java program see them: values from "+"
// sections, class path items in the forms people write them, and output
// files wherever they are named.

#include "e2e/JvmE2eSupport.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::wstring>;

}  // namespace

TEST(JvmSettingsE2e, ClassPathAndParametersAsWritten)
{
    struct Row {
        const wchar_t* ini;
        // The class path option after "-Djava.class.path=", "@" standing for
        // the application folder; then the other options.
        const wchar_t* classPath;
        Texts parameters;
    } rows[] = {
        // Values only in "+" sections stand alone: no blank in front of the
        // main class, the first item or the first parameter. Blanks around
        // items do not hide them.
        {L"[Java Runtime Environment+]\nMain Class=test.RecordArgs\nVirtual Machine Parameters=-Dplus=1\n"
         L"[Class Path+]\nClass Path=lib\\a.jar; C:\\x\\b.jar ;\n",
         L"@\\lib\\a.jar;C:\\x\\b.jar", {L"-Dplus=1"}},
        // Quotes around the whole value keep one token, as embedded settings do.
        {L"[Java Runtime Environment]\nMain Class=test.RecordArgs\n"
         L"Virtual Machine Parameters=\"-Dapp.title=My App\"\n[Class Path]\nClass Path=lib\\a.jar\n",
         L"@\\lib\\a.jar", {L"-Dapp.title=My App"}},
        // "/" separates folders; an item that exists stays as written.
        {L"[Java Runtime Environment]\nMain Class=test.RecordArgs\n"
         L"[Class Path]\nClass Path=lib/a.jar;ext/*.jar;.;lib\\.;lib/missing.jar\n",
         L"@\\lib\\a.jar;@\\ext\\e.jar;@\\.;@\\lib\\.", {}},
    };
    for (const Row& row : rows) {
        JvmApp app(row.ini);
        app.folder.WriteFile(L"lib\\a.jar", "PK");
        app.folder.WriteFile(L"ext\\e.jar", "PK");
        LaunchResult result = app.Run();
        EXPECT_EQ(0u, result.exitCode) << Show(row.ini) << Show(result.MessageTexts());

        std::wstring classPath = L"-Djava.class.path=";
        for (const wchar_t* c = row.classPath; *c; ++c)
            classPath += *c == L'@' ? app.Path() : std::wstring(1, *c);
        Texts expected = {classPath};
        expected.insert(expected.end(), row.parameters.begin(), row.parameters.end());
        Texts options = UserOptions(app.Log());
        EXPECT_EQ(expected, options) << Show(row.ini) << Show(options);
        EXPECT_EQ((Texts{L"test/RecordArgs"}), app.Log().Values(L"main")) << Show(row.ini);
    }
}

TEST(JvmSettingsE2e, OutputFilesInEveryForm)
{
    // A relative path whose folder does not exist yet, and a "/" path.
    JvmApp app(L"[Java Runtime Environment]\nMain Class=test.PrintOut\n"
               L"[Application]\nOutput File=logs\\out.log\nError File=%JL_E2E_DIR%/errors/deep/err.log\n"
               L"[Class Path]\nClass Path=C:\\a.jar\n");
    LaunchOptions options;
    options.args = {L"one", L"two"};
    options.env[L"JL_E2E_DIR"] = app.Path();
    EXPECT_EQ(0u, app.Run(options).exitCode);
    EXPECT_EQ("out:one\nout:two\n", ReadText(app.Path() + L"\\logs\\out.log"));
    EXPECT_EQ("err:one\nerr:two\n", ReadText(app.Path() + L"\\errors\\deep\\err.log"));

    // Output and errors into one file, named two ways: one stream, so that
    // nothing overwrites anything, appending because one of them asks to.
    JvmApp same(L"[Java Runtime Environment]\nMain Class=test.PrintOut\n"
                L"[Application]\nOutput File=both\\all.log\nError File=%JL_E2E_DIR%\\BOTH\\all.log\n"
                L"Error Append=yes\n"
                L"[Class Path]\nClass Path=C:\\a.jar\n");
    same.folder.WriteFile(L"both\\all.log", "before\n");
    options.env[L"JL_E2E_DIR"] = same.Path();
    EXPECT_EQ(0u, same.Run(options).exitCode);
    EXPECT_EQ("before\nout:one\nerr:one\nout:two\nerr:two\n", ReadText(same.Path() + L"\\both\\all.log"));
}
