#include "SearchFixture.h"
#include "runtime/PeImageView.h"

namespace runtime_test {
namespace {

constexpr WORD kOtherMachine =
    kLauncherMachine == IMAGE_FILE_MACHINE_I386 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386;

class FindRuntime : public SearchFixture {
protected:
    // One runtime for every source: "JRE Path", registry and JAVA_HOME.
    void MakeAllSources()
    {
        MakeHome(L"setting", {L"client"});
        MakeHome(L"registered", {L"client"});
        MakeHome(L"javahome", {L"client"});
        Register(kJreKey, L"1.8", L"registered");
        m_app.m_jrePath = (m_folder / L"setting").c_str();
        SetJavaHome(m_folder / L"javahome");
    }
    static void SetJavaHome(const std::wstring& value) { SetEnvironmentVariableW(L"JAVA_HOME", value.c_str()); }
    std::wstring ClientLibrary(const std::wstring& home) { return Home(home) + L"bin\\client\\jvm.dll"; }
};

TEST_F(FindRuntime, FirstSourceWins)
{
    MakeAllSources();
    ASSERT_TRUE(Find());
    EXPECT_EQ(Library(), ClientLibrary(L"setting"));

    m_app.m_jrePath = (m_folder / L"nothing-here\\").c_str();
    ASSERT_TRUE(Find());
    EXPECT_EQ(Library(), ClientLibrary(L"registered"));

    m_registry.Clear();
    ASSERT_TRUE(Find());
    EXPECT_EQ(Library(), ClientLibrary(L"javahome"));

    SetEnvironmentVariableW(L"JAVA_HOME", nullptr);
    EXPECT_FALSE(Find());
    EXPECT_EQ(Library(), L"");
}

TEST_F(FindRuntime, JrePathNeedsNoJavaDllButTheRightVm)
{
    MakeHome(L"bare", {L"client"}, false);
    MakeHome(L"registered", {L"server"});
    Register(kJreKey, L"1.8", L"registered");
    m_app.m_jrePath = (m_folder / L"bare").c_str();
    ASSERT_TRUE(Find());
    EXPECT_EQ(Library(), ClientLibrary(L"bare"));

    m_app.m_jvmType = JvmType::Server;
    ASSERT_TRUE(Find());
    EXPECT_EQ(Library(), Home(L"registered") + L"bin\\server\\jvm.dll");
}

TEST_F(FindRuntime, JavaHomeNeedsJavaDll)
{
    MakeHome(L"jdk", {L"client"}, false);
    SetJavaHome(m_folder / L"jdk");
    EXPECT_FALSE(Find());

    MakeHome(L"jre", {L"client"});
    SetJavaHome(m_folder / L"jre\\");
    ASSERT_TRUE(Find());
    EXPECT_EQ(Library(), ClientLibrary(L"jre"));

    SetJavaHome(L"");  // set but empty
    EXPECT_FALSE(Find());
}

TEST_F(FindRuntime, ArchitectureIsCheckedForJrePathAndJavaHomeOnly)
{
    const std::string image = MinimalPeImage(kOtherMachine);
    m_app.m_pairProduct = kPairProductName;

    MakeHome(L"setting", {L"server"}, true, image);
    m_app.m_jrePath = (m_folder / L"setting").c_str();
    ASSERT_TRUE(Find());
    EXPECT_TRUE(m_app.m_launchPair);
    m_app.m_jrePath.Clear();

    MakeHome(L"javahome", {L"server"}, true, image);
    SetJavaHome(m_folder / L"javahome");
    ASSERT_TRUE(Find());
    EXPECT_TRUE(m_app.m_launchPair);

    // A registry runtime of the launcher's own view is taken as loadable.
    MakeHome(L"registered", {L"server"}, true, image);
    Register(kJreKey, L"1.8", L"registered");
    ASSERT_TRUE(Find());
    EXPECT_EQ(Library(), Home(L"registered") + L"bin\\server\\jvm.dll");
    EXPECT_FALSE(m_app.m_launchPair);

    // Without a paired launcher there is nothing to hand over to.
    m_registry.Clear();
    m_app.m_pairProduct.Clear();
    ASSERT_TRUE(Find());
    EXPECT_EQ(Library(), Home(L"javahome") + L"bin\\server\\jvm.dll");
    EXPECT_FALSE(m_app.m_launchPair);
}

TEST_F(FindRuntime, JavaHomeKeepsToTheVersionWindowWhenItsVersionIsKnown)
{
    MakeHome(L"javahome", {L"client"});
    SetJavaHome(m_folder / L"javahome");
    SetRange(L"1.8", L"11");
    struct Case {
        const char* release;  // null: no release file
        bool used;
    };
    const Case cases[] = {
        {"JAVA_VERSION=\"1.6.0_45\"\n", false},
        {"JAVA_VERSION=\"17.0.9\"\n", false},
        {"JAVA_VERSION=\"1.8.0_392\"\n", true},
        {"JAVA_VERSION=\"11.0.21\"\r\n", true},
        {"IMPLEMENTOR=\"unknown\"\n", true},  // no version: used as it is
        {nullptr, true},
    };
    for (const Case& c : cases) {
        DeleteFileW((m_folder / L"javahome\\release").c_str());
        if (c.release)
            WriteBytes(m_folder / L"javahome\\release", c.release);
        EXPECT_EQ(Find(), c.used) << (c.release ? c.release : "(no release file)");
        EXPECT_EQ(Library(), c.used ? ClientLibrary(L"javahome") : L"");
    }
}

// The per-user "JRE Path" is where the runtime dialog stores the user's
// choice. One that cannot serve this launch (the settings now ask for
// another version, or it was replaced by a build for another machine) is
// passed over, so that the search goes on and, with nothing else found, the
// user is asked again. A "JRE Path" from the settings file stays as it is.
TEST_F(FindRuntime, AStoredChoiceThatCannotServeIsAskedAgain)
{
    MakeHome(L"java8", {L"client"}, true, MinimalPeImage(kLauncherMachine));
    WriteBytes(m_folder / L"java8\\release", "JAVA_VERSION=\"1.8.0_382\"\n");
    MakeHome(L"other", {L"client"}, true, MinimalPeImage(kOtherMachine));
    struct Case {
        const char* name;
        const wchar_t* home;
        bool fromUser;
        const wchar_t* minimum;
        const wchar_t* pair;
        bool used;
    };
    const Case cases[] = {
        {"per-user, below the minimum", L"java8", true, L"11", L"", false},
        {"per-user, in the window", L"java8", true, L"1.8", L"", true},
        {"settings file, below the minimum", L"java8", false, L"11", L"", true},
        {"per-user, other machine, no pair", L"other", true, L"any", L"", false},
        {"per-user, other machine, with a pair", L"other", true, L"any", kPairProductName, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_app.m_jrePath = (m_folder / c.home).c_str();
        m_app.m_jrePathFromUser = c.fromUser;
        m_app.m_pairProduct = c.pair;
        SetRange(c.minimum, L"any");
        EXPECT_EQ(Find(), c.used);  // not used: the dialog is shown, and cancelled
        EXPECT_EQ(Library(), c.used ? ClientLibrary(c.home) : L"");
    }
}

// A runtime shipped beside the executable (here: the test executable).
class BundledRuntime : public FindRuntime {
protected:
    void TearDown() override
    {
        RemoveTree(ExeDirectory() + L"jre");
        FindRuntime::TearDown();
    }
};

TEST_F(BundledRuntime, BeatsTheRegistryAndGoesToThePairWhenBuiltForIt)
{
    MakeHome(L"registered", {L"client"});
    Register(kJreKey, L"11", L"registered");
    SetJavaHome(m_folder / L"registered");
    m_app.m_pairProduct = kPairProductName;
    MakeRuntime(ExeDirectory() + L"jre", {L"client"}, true, MinimalPeImage(kOtherMachine));

    ASSERT_TRUE(Find());
    EXPECT_EQ(Library(), ExeDirectory() + L"jre\\bin\\client\\jvm.dll");
    EXPECT_TRUE(m_app.m_launchPair);

    // Without a paired launcher it stays with this one.
    m_app.m_pairProduct.Clear();
    ASSERT_TRUE(Find());
    EXPECT_EQ(Library(), ExeDirectory() + L"jre\\bin\\client\\jvm.dll");
    EXPECT_FALSE(m_app.m_launchPair);
    m_app.m_pairProduct = kPairProductName;

    // One of this launcher's own machine type stays too.
    MakeRuntime(ExeDirectory() + L"jre", {L"client"}, true, MinimalPeImage(kLauncherMachine));
    ASSERT_TRUE(Find());
    EXPECT_FALSE(m_app.m_launchPair);

    // It still yields to "JRE Path".
    m_app.m_jrePath = (m_folder / L"registered").c_str();
    ASSERT_TRUE(Find());
    EXPECT_EQ(Library(), ClientLibrary(L"registered"));

    // Without a library for the VM type the search goes on.
    m_app.m_jrePath.Clear();
    m_app.m_jvmType = JvmType::Server;
    EXPECT_FALSE(Find());
}

}  // namespace
}  // namespace runtime_test
