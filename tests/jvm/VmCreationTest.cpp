#include "base/ResourceText.h"
#include "core/LauncherApp.h"
#include "jvm/HostTestSupport.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// What the stand-in JNI_CreateJavaVM below saw, and what it answers.
struct CreateCall {
    jint result = JNI_OK;
    int calls = 0;
    jint version = 0;
    jboolean ignoreUnrecognized = 2;
    std::vector<std::string> options;
    std::vector<void*> extraInfo;
};
CreateCall g_call;

jint JNICALL FakeCreateJavaVM(JavaVM** vm, void** env, void* args)
{
    ++g_call.calls;
    auto* init = static_cast<JavaVMInitArgs*>(args);
    g_call.version = init->version;
    g_call.ignoreUnrecognized = init->ignoreUnrecognized;
    for (jint i = 0; i < init->nOptions; ++i) {
        g_call.options.push_back(init->options[i].optionString);
        g_call.extraInfo.push_back(init->options[i].extraInfo);
    }
    // A failing VM may leave anything behind in its out-parameters.
    *vm = reinterpret_cast<JavaVM*>(0x1234);
    *env = reinterpret_cast<void*>(0x5678);
    if (g_call.result != JNI_OK)
        return g_call.result;
    static JavaVM dummyVm;
    static JNIEnv dummyEnv;
    *vm = &dummyVm;
    *env = &dummyEnv;
    return JNI_OK;
}

jint JNICALL FakeDefaultArgs(void* args)
{
    // The JNI 1.1 record: version, then a pointer, then three ints, the
    // third being javaStackSize.
    auto* bytes = static_cast<unsigned char*>(args);
    jint version = *reinterpret_cast<jint*>(bytes);
    size_t offset = sizeof(void*) == 4 ? 16 : 24;
    *reinterpret_cast<jint*>(bytes + offset) = version == JNI_VERSION_1_1 ? g_call.result : -99;
    return 0;
}

struct RecordingSink : ExitSink {
    std::vector<int> exits;
    int aborts = 0;
    void Exit(int code) override { exits.push_back(code); }
    void Abort() override { ++aborts; }
};

class VmCreationTest : public ::testing::Test {
protected:
    CapturedMessages messages;
    LauncherApp app;

    void SetUp() override
    {
        g_call = CreateCall();
        app.m_pfnCreateJavaVM = &FakeCreateJavaVM;
        app.m_pfnGetDefaultJavaVMInitArgs = &FakeDefaultArgs;
    }
    void TearDown() override { app.m_pJavaVM = nullptr; }  // the stand-in VM cannot be destroyed
};

std::wstring CreationMessage(unsigned reasonId)
{
    return L"Pengecualian JNI: gagal membuat VM Java\nAlasan: " +
           (reasonId ? std::wstring(LoadResourceString(reasonId).CStr()) : std::wstring()) + L".\n";
}

}  // namespace

TEST_F(VmCreationTest, OptionsInOrderThenTheTwoHooks)
{
    app.m_jvmOptions.Append(AnsiString("-Djava.class.path=a.jar;"));
    app.m_jvmOptions.Append(AnsiString(""));
    app.m_jvmOptions.Append(AnsiString("-Xmx64m"));
    ASSERT_TRUE(app.CreateJavaVm());
    EXPECT_EQ(1, g_call.calls);
    EXPECT_EQ(JNI_VERSION_1_2, g_call.version);
    EXPECT_EQ(JNI_FALSE, g_call.ignoreUnrecognized);
    EXPECT_EQ((std::vector<std::string>{"-Djava.class.path=a.jar;", "", "-Xmx64m", "abort", "exit"}), g_call.options);
    EXPECT_EQ(nullptr, g_call.extraInfo[0]);
    EXPECT_NE(nullptr, g_call.extraInfo[3]);
    EXPECT_NE(nullptr, g_call.extraInfo[4]);
    EXPECT_NE(nullptr, app.m_pJavaVM);
    EXPECT_TRUE(messages.Seen().empty());
}

TEST_F(VmCreationTest, HooksForwardToTheSinkWhenOneIsSet)
{
    ASSERT_TRUE(app.CreateJavaVm());
    auto abortHook = reinterpret_cast<void(JNICALL*)()>(g_call.extraInfo[0]);
    auto exitHook = reinterpret_cast<void(JNICALL*)(jint)>(g_call.extraInfo[1]);
    // No sink: the hooks return and do nothing.
    exitHook(3);
    abortHook();
    RecordingSink sink;
    app.m_pExitSink = &sink;
    exitHook(-7);
    exitHook(0);
    abortHook();
    EXPECT_EQ((std::vector<int>{-7, 0}), sink.exits);
    EXPECT_EQ(1, sink.aborts);
    app.m_pExitSink = nullptr;
}

TEST_F(VmCreationTest, EachFailureCodeHasItsReason)
{
    struct Row {
        jint code;
        unsigned reason;
    } rows[] = {{-1, IDS_JNI_ERR},     {-2, IDS_JNI_EDETACHED}, {-3, IDS_JNI_EVERSION}, {-4, IDS_JNI_ENOMEM},
                {-5, IDS_JNI_EEXIST},  {-6, IDS_JNI_EINVAL},    {-7, 0},                {-77, 0},
                {1, 0}};
    for (const Row& row : rows) {
        CapturedMessages fresh;
        g_call = CreateCall();
        g_call.result = row.code;
        EXPECT_FALSE(app.CreateJavaVm()) << row.code;
        ASSERT_EQ(1u, fresh.Seen().size()) << row.code;
        EXPECT_EQ(CreationMessage(row.reason), fresh.Seen()[0]) << row.code;
        // Nothing of a failed VM is kept for the destructor to destroy.
        EXPECT_EQ(nullptr, app.m_pJavaVM);
        EXPECT_EQ(nullptr, app.m_pJniEnv);
    }
    EXPECT_EQ(L"Pengecualian JNI: gagal membuat VM Java\nAlasan: versi JNI salah.\n", CreationMessage(IDS_JNI_EVERSION));
}

TEST_F(VmCreationTest, DefaultStackSizeIsPositiveOrZero)
{
    g_call.result = 262144;
    EXPECT_EQ(262144u, app.GetDefaultStackSize());
    g_call.result = 0;
    EXPECT_EQ(0u, app.GetDefaultStackSize());
    g_call.result = -5;
    EXPECT_EQ(0u, app.GetDefaultStackSize());
}

TEST(JvmLibraryTest, MissingLibraryShowsPathAndSystemError)
{
    CapturedMessages messages;
    LauncherApp app;
    std::wstring path = L"C:\\no\\such\\runtime\\bin\\server\\jvm.dll";
    EXPECT_FALSE(app.LoadJvmLibrary(String(path.c_str())));
    ASSERT_EQ(1u, messages.Seen().size());
    EXPECT_EQ(L"Gagal memuat perpustakaan VM Java: " + path + L" (errno = 126).\n", messages.Seen()[0]);
    EXPECT_EQ(nullptr, app.m_pfnCreateJavaVM);
}

TEST(JvmLibraryTest, LibraryWithoutEntryPointsIsRefused)
{
    CapturedMessages messages;
    LauncherApp app;
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring path = std::wstring(system) + L"\\version.dll";
    EXPECT_FALSE(app.LoadJvmLibrary(String(path.c_str())));
    ASSERT_EQ(1u, messages.Seen().size());
    EXPECT_EQ(L"Pengecualian Windows: tidak menemukan CreateJavaVM JNI (errno = 127).\n", messages.Seen()[0]);
}
