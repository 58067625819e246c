#include "LogWriter.h"

#include <windows.h>

#include <mutex>

#include "JvmText.h"

namespace fakejvm {
namespace {

std::mutex g_logLock;

std::wstring LogPath() {
  wchar_t small[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"JL_FAKEJVM_LOG", small, MAX_PATH);
  if (n == 0) return std::wstring();
  if (n < MAX_PATH) return std::wstring(small, n);
  std::wstring path(n, L'\0');
  n = GetEnvironmentVariableW(L"JL_FAKEJVM_LOG", &path[0], n);
  path.resize(n);
  return path;
}

std::wstring Escape(const std::wstring& field) {
  std::wstring out;
  for (wchar_t c : field) {
    switch (c) {
      case L'\\': out += L"\\\\"; break;
      case L'\t': out += L"\\t"; break;
      case L'\r': out += L"\\r"; break;
      case L'\n': out += L"\\n"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

void WriteRecord(std::initializer_list<std::wstring> fields) {
  std::wstring line;
  bool first = true;
  for (const std::wstring& f : fields) {
    if (!first) line += L'\t';
    line += Escape(f);
    first = false;
  }
  line += L'\n';
  std::string bytes = ToUtf8(line);

  std::lock_guard<std::mutex> guard(g_logLock);
  std::wstring path = LogPath();
  if (path.empty()) return;
  // Opened per record so that every record is on disk at once, whatever
  // happens to the process afterwards.
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void FailLoudly(const std::wstring& message) {
  WriteRecord({L"fatal", message});
  std::string text = "fakejvm: " + ToUtf8(message) + "\r\n";
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (err && err != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(err, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
  ExitProcess(kFatalExitCode);
}

}  // namespace fakejvm
