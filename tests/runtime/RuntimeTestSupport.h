#pragma once

#include "support/common/TestFiles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace runtime_test {

// The launcher opens the vendor keys with plain KEY_READ, so it reads the
// registry view of its own machine type: the 32-bit view for launcher.exe,
// the 64-bit view for launcher64.exe. Registrations the launcher must see
// by default go into kLauncherView; kOtherView is the one it does not read
// on its own.
constexpr bool kIs64BitLauncher = sizeof(void*) == 8;
constexpr REGSAM kLauncherView = kIs64BitLauncher ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
constexpr REGSAM kOtherView = kIs64BitLauncher ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
// What the tests configure as "Pair Product": the launcher of the other machine type.
constexpr const wchar_t* kPairProductName = kIs64BitLauncher ? L"launcher.exe" : L"launcher64.exe";

// A runtime home on disk: <home>\bin\java.dll (unless withJavaDll is false)
// and <home>\bin\<vm>\jvm.dll for every vm given. Plain files are enough for
// the search; jvmBytes fills every jvm.dll.
void MakeRuntime(const std::wstring& home, const std::vector<std::wstring>& vms, bool withJavaDll = true,
                 const std::string& jvmBytes = "jvm");

// The bytes of a minimal PE image header for machine (PE32 for i386, PE32+
// otherwise) with its NT headers at ntOffset.
std::string MinimalPeImage(WORD machine, LONG ntOffset = 0x40);

// A Unix path from the build's environment (JL_BUILD_DIR, JL_PEER_BUILD) as
// Wine sees it; empty when the variable is unset or empty.
std::wstring WindowsPathFromEnv(const char* variable);

// The folder this test executable runs from, with a trailing backslash.
std::wstring ExeDirectory();

// Collects message boxes instead of showing them.
class MessageCapture {
public:
    MessageCapture();
    ~MessageCapture();
    const std::vector<std::wstring>& Texts() const;
    void Clear();
};

}  // namespace runtime_test
