// Stands in for a runtime's splashscreen.dll: records each call with its
// arguments (8-bit text in the ANSI code page, logged as UTF-8).
#include "JvmText.h"
#include "LogWriter.h"

using namespace fakejvm;

namespace {

std::wstring Text(const char* text) { return text ? FromAnsi(text) : std::wstring(L"(null)"); }

}  // namespace

extern "C" {

#ifndef JL_FAKEJVM_SPLASH_NO_INIT
__declspec(dllexport) void SplashInit() { WriteRecord({L"splash", L"SplashInit"}); }
#endif

__declspec(dllexport) int SplashLoadFile(const char* fileName) {
  WriteRecord({L"splash", L"SplashLoadFile", Text(fileName)});
  return 1;
}

__declspec(dllexport) void SplashSetFileJarName(const char* fileName, const char* jarName) {
  WriteRecord({L"splash", L"SplashSetFileJarName", Text(fileName), Text(jarName)});
}

__declspec(dllexport) void SplashClose() { WriteRecord({L"splash", L"SplashClose"}); }

}  // extern "C"
