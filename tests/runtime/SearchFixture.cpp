#include "SearchFixture.h"

#include "res/resource.h"
#include "runtime/DialogScript.h"
#include "runtime/JvmLibrary.h"

#include <vector>

namespace runtime_test {

void SearchFixture::SetUp()
{
    ASSERT_TRUE(SnapshotVendorKeys().empty()) << "the test prefix already holds Java registrations";
    ASSERT_FALSE(HasJavaDll(String(ExeDirectory().c_str())));
    ASSERT_FALSE(HasJavaDll(String((ExeDirectory() + L"jre\\").c_str())));
    wchar_t value[4096];
    DWORD length = GetEnvironmentVariableW(L"JAVA_HOME", value, 4096);
    m_hadJavaHome = length > 0 && length < 4096;
    if (m_hadJavaHome)
        m_savedJavaHome.assign(value, length);
    SetEnvironmentVariableW(L"JAVA_HOME", nullptr);
    SetSource(L"");
    SetProvider(L"");
    SetRange(L"any", L"any");
}

void SearchFixture::TearDown()
{
    SetEnvironmentVariableW(L"JAVA_HOME", m_hadJavaHome ? m_savedJavaHome.c_str() : nullptr);
    m_registry.Clear();
    EXPECT_TRUE(SnapshotVendorKeys().empty()) << "test registrations were left behind";
    EXPECT_TRUE(m_messages.Texts().empty()) << "the search showed a message";
}

void SearchFixture::SetSource(const std::wstring& value)
{
    m_app.m_jdkFirst = value.empty() || value == L"favor_JDK" || value == L"only_JDK";
    m_app.m_jreFirst = value.empty() || value == L"favor_JRE" || value == L"only_JRE";
    if (!value.empty())
        m_app.m_allowOtherKind = value == L"favor_JDK" || value == L"favor_JRE";
}

void SearchFixture::SetProvider(const std::wstring& value)
{
    struct Row {
        const wchar_t* value;
        bool flags[6];  // allow/prefer JRockit, Sun, IBM
    };
    const Row rows[] = {
        {L"", {false, false, true, true, false, false}},
        {L"jrockit", {true, true, false, false, false, false}},
        {L"ibm", {false, false, false, false, true, true}},
        {L"favor_sun", {true, false, true, true, true, false}},
        {L"favor_jrockit", {true, true, true, false, true, false}},
        {L"favor_ibm", {true, false, true, false, true, true}},
        {L"any", {true, false, true, false, true, false}},
    };
    for (const Row& row : rows) {
        if (value != row.value)
            continue;
        m_app.m_allowJRockit = row.flags[0];
        m_app.m_preferJRockit = row.flags[1];
        m_app.m_allowSun = row.flags[2];
        m_app.m_preferSun = row.flags[3];
        m_app.m_allowIbm = row.flags[4];
        m_app.m_preferIbm = row.flags[5];
        return;
    }
    ADD_FAILURE() << "unknown provider in the test";
}

void SearchFixture::SetRange(const std::wstring& minimum, const std::wstring& maximum)
{
    JavaVersion& min = m_app.m_versionRequirement.minimum;
    JavaVersion& max = m_app.m_versionRequirement.maximum;
    min = JavaVersion();
    max = JavaVersion();
    if (minimum == L"any")
        min.count = 4;
    else
        ParseVersion(String(minimum.c_str()), 0, min);
    if (maximum == L"any") {
        for (int32_t& component : max.component)
            component = kVersionOpenEnd;
        max.count = 4;
    } else {
        ParseVersion(String(maximum.c_str()), kVersionOpenEnd, max);
    }
}

void SearchFixture::SetPreferred(std::initializer_list<const wchar_t*> texts)
{
    m_app.m_preferredVersions.Clear();
    for (const wchar_t* text : texts)
        m_app.m_preferredVersions.Append(String(text));
}

std::wstring SearchFixture::MakeHome(const std::wstring& name, std::initializer_list<const wchar_t*> vms,
                                     bool withJavaDll, const std::string& jvmBytes)
{
    std::vector<std::wstring> list(vms.begin(), vms.end());
    MakeRuntime(m_folder / name, list, withJavaDll, jvmBytes);
    return m_folder / name;
}

void SearchFixture::Register(const std::wstring& vendorKey, const std::wstring& version, const std::wstring& home,
                             REGSAM view)
{
    m_registry.Register(view, vendorKey, version, m_folder / home);
}

std::wstring SearchFixture::Search(RegistryView view)
{
    auto before = SnapshotVendorKeys();
    String home;
    bool found = m_app.SearchRegistry(view, home);
    EXPECT_EQ(before, SnapshotVendorKeys()) << "the search changed the registry";
    if (found)
        EXPECT_FALSE(home.IsEmpty());
    return found ? std::wstring(home.CStr()) : std::wstring();
}

bool SearchFixture::Find()
{
    auto before = SnapshotVendorKeys();
    // When nothing is found the user is asked; here the question is cancelled.
    DialogScript cancel([](HWND dialog) { PressButton(dialog, IDCANCEL); });
    bool found = m_app.FindRuntime();
    EXPECT_EQ(before, SnapshotVendorKeys()) << "the search changed the registry";
    return found;
}

}  // namespace runtime_test
