#pragma once

#include "RuntimeTestSupport.h"
#include "VendorRegistry.h"
#include "core/LauncherApp.h"

#include <gtest/gtest.h>

#include <string>

namespace runtime_test {

// A LauncherApp with the settings' defaults for an empty INI file, a
// temporary folder for runtime homes, registrations that are removed
// afterwards, no JAVA_HOME and no message boxes.
class SearchFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // "JVM Source" and "VM Provider" as the settings reader turns them into flags.
    void SetSource(const std::wstring& value);
    void SetProvider(const std::wstring& value);
    // Version window; "any" as the settings give it, "" for an absent key.
    void SetRange(const std::wstring& minimum, const std::wstring& maximum);
    void SetPreferred(std::initializer_list<const wchar_t*> texts);

    // A runtime home under the temporary folder (see MakeRuntime); returns its path.
    std::wstring MakeHome(const std::wstring& name, std::initializer_list<const wchar_t*> vms,
                          bool withJavaDll = true, const std::string& jvmBytes = "jvm");
    // Registers <folder>\<home>, by default in the view the launcher reads.
    void Register(const std::wstring& vendorKey, const std::wstring& version, const std::wstring& home,
                  REGSAM view = kLauncherView);

    // SearchRegistry; the chosen home, or "" when the pass fails. The vendor
    // keys must be the same before and after.
    std::wstring Search(RegistryView view = RegistryView::Default);
    // FindRuntime, also checking the vendor keys are untouched.
    bool Find();

    std::wstring Home(const std::wstring& name) const { return m_folder / name + L"\\"; }
    std::wstring Library() const { return m_app.m_jvmLibraryPath.CStr(); }

    LauncherApp m_app;
    TempFolder m_folder;
    VendorRegistry m_registry;
    MessageCapture m_messages;

private:
    std::wstring m_savedJavaHome;
    bool m_hadJavaHome = false;
};

}  // namespace runtime_test
