#include "Holds.h"

#include <windows.h>

#include <cstdio>

namespace fakejvm {
namespace {

std::wstring Variable(const wchar_t* name) {
  wchar_t value[512];
  DWORD n = GetEnvironmentVariableW(name, value, 512);
  return n > 0 && n < 512 ? std::wstring(value, n) : std::wstring();
}

// The JVM library was mapped: its static objects are built while it loads.
struct LoadTime {
  LoadTime() { WriteTime(L"loaded"); }
} g_loadTime;

}  // namespace

bool WaitForHold(const wchar_t* variable) {
  std::wstring name = Variable(variable);
  if (name.empty()) return false;
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
  if (!event) return false;
  WaitForSingleObject(event, kHoldLimitMs);
  CloseHandle(event);
  return true;
}

void WriteTime(const wchar_t* event) {
  std::wstring path = Variable(L"JL_FAKEJVM_TIMES");
  if (path.empty()) return;
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  FILE* file = _wfopen(path.c_str(), L"ab");
  if (!file) return;
  fprintf(file, "%ls %llu\n", event, ticks);
  fclose(file);
}

}  // namespace fakejvm
