#include "Modules.h"

#include <cstring>
#include <map>
#include <vector>

#include "JvmText.h"
#include "LogWriter.h"

namespace fakejvm {
namespace {

struct ModuleState {
  std::wstring modulePath;
  std::vector<std::wstring> added;
  std::wstring mainModule;
  std::map<std::wstring, std::wstring> observable;  // module -> main class (dotted), "" when none
  std::vector<std::wstring> bootLayer;
};

ModuleState& State() {
  static ModuleState state;
  return state;
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
  std::vector<std::wstring> items;
  size_t start = 0;
  for (;;) {
    size_t end = text.find(separator, start);
    items.push_back(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
    if (end == std::wstring::npos) return items;
    start = end + 1;
  }
}

// A module jar names its module; its text, when it is one line, names the
// module's main class (the stand-in reads no class files).
void AddModuleFile(const std::wstring& path, const std::wstring& fileName) {
  if (fileName.size() < 5 || fileName.compare(fileName.size() - 4, 4, L".jar") != 0) return;
  std::wstring mainClass;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    char bytes[256];
    DWORD n = 0;
    if (ReadFile(file, bytes, sizeof(bytes), &n, nullptr)) {
      std::string text(bytes, n);
      text = text.substr(0, text.find_first_of("\r\n"));
      mainClass = FromUtf8(text);
    }
    CloseHandle(file);
  }
  State().observable[fileName.substr(0, fileName.size() - 4)] = mainClass;
}

void AddModulePathElement(const std::wstring& element) {
  DWORD attributes = GetFileAttributesW(element.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    AddModuleFile(element, element.substr(element.find_last_of(L"\\/") + 1));
    return;
  }
  WIN32_FIND_DATAW match;
  HANDLE search = FindFirstFileW((element + L"\\*.jar").c_str(), &match);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    AddModuleFile(element + L"\\" + match.cFileName, match.cFileName);
  } while (FindNextFileW(search, &match));
  FindClose(search);
}

// The runtime's own modules: java.base and those its release file lists
// (MODULES="java.base app ..."), as a jlink image has them.
void AddRuntimeModules() {
  State().observable[L"java.base"] = L"";
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&AddRuntimeModules), &self);
  wchar_t path[MAX_PATH];
  std::wstring home(path, GetModuleFileNameW(self, path, MAX_PATH));
  for (int i = 0; i < 3; ++i) home = home.substr(0, home.find_last_of(L'\\'));  // home\bin\server\jvm.dll
  HANDLE file = CreateFileW((home + L"\\release").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  char bytes[4096];
  DWORD n = 0;
  std::string text;
  if (ReadFile(file, bytes, sizeof(bytes), &n, nullptr)) text.assign(bytes, n);
  CloseHandle(file);
  size_t at = text.find("MODULES=\"");
  if (at == std::string::npos) return;
  at += 9;
  for (const std::wstring& name : Split(FromUtf8(text.substr(at, text.find('"', at) - at)), L' ')) {
    if (!name.empty()) State().observable.emplace(name, L"");
  }
}

[[noreturn]] void FailBoot(AbortHook abortHook, const std::wstring& module) {
  std::wstring text = L"Error occurred during initialization of boot layer\r\n"
                      L"java.lang.module.FindException: Module " + module + L" not found\r\n";
  WriteRecord({L"bootlayer", L"Module " + module + L" not found"});
  std::string bytes = ToUtf8(text);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  if (abortHook) abortHook();
  ExitProcess(1);
}

}  // namespace

bool NoteModuleOption(const char* option) {
  static const char kModulePath[] = "--module-path=";
  static const char kAddModules[] = "--add-modules=";
  if (strncmp(option, kModulePath, sizeof(kModulePath) - 1) == 0) {
    State().modulePath = FromAnsi(option + sizeof(kModulePath) - 1);
    return !State().modulePath.empty();
  }
  if (strncmp(option, kAddModules, sizeof(kAddModules) - 1) == 0) {
    State().added = Split(FromAnsi(option + sizeof(kAddModules) - 1), L',');
    return !State().added.empty() && !State().added[0].empty();
  }
  if (strncmp(option, "-Djdk.module.main=", 18) == 0) State().mainModule = FromAnsi(option + 18);
  return false;
}

void ResolveBootLayer(AbortHook abortHook) {
  ModuleState& state = State();
  AddRuntimeModules();
  if (!state.modulePath.empty()) {
    for (const std::wstring& element : Split(state.modulePath, L';')) AddModulePathElement(element);
  }
  std::vector<std::wstring> roots = state.added;
  if (!state.mainModule.empty()) roots.push_back(state.mainModule);
  for (const std::wstring& root : roots) {
    if (root == L"ALL-DEFAULT" || root == L"ALL-SYSTEM" || root == L"ALL-MODULE-PATH") continue;
    if (state.observable.find(root) == state.observable.end()) FailBoot(abortHook, root);
    state.bootLayer.push_back(root);
  }
}

const ClassInfo* ModuleMainClass(const std::wstring& text, const Ref& stream) {
  ModuleState& state = State();
  size_t slash = text.find(L'/');
  std::wstring module = text.substr(0, slash);
  std::wstring mainClass = slash == std::wstring::npos ? std::wstring() : text.substr(slash + 1);
  bool inBootLayer = false;
  for (const std::wstring& name : state.bootLayer) inBootLayer = inBootLayer || name == module;
  if (!inBootLayer) {
    Throw("java/lang/InternalError", L"Module " + module + L" not in boot Layer");
    return nullptr;
  }
  if (mainClass.empty()) mainClass = state.observable[module];
  if (mainClass.empty()) {
    PrintText(stream, L"Error: Module " + module + L" does not have a ModuleMainClass attribute, use -m <module>/<main-class>" +
                          kLineSeparator);
    SystemExit(1);
  }
  const ClassInfo* cls = FindClassInfo(Slashed(ToUtf8(mainClass)));
  if (!cls) {
    PrintText(stream, L"Error: Could not find or load main class " + mainClass + L" in module " + module +
                          kLineSeparator);
    SystemExit(1);
  }
  return cls;
}

}  // namespace fakejvm
