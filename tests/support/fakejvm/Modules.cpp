#include "Modules.h"

#include <set>
#include <vector>

#include "JvmText.h"
#include "LogWriter.h"

namespace fakejvm {
namespace {

struct ModuleState {
  std::wstring modulePath, mainModule;
  std::vector<std::wstring> added;
  std::set<std::wstring> observable, bootLayer;
};

ModuleState& State() {
  static ModuleState state;
  return state;
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
  std::vector<std::wstring> items;
  for (size_t start = 0, end = 0; end != std::wstring::npos; start = end + 1) {
    end = text.find(separator, start);
    items.push_back(text.substr(start, end == std::wstring::npos ? end : end - start));
  }
  return items;
}

// A module path element is a module jar or a folder of them; the stand-in
// reads no module descriptors and names a module after its jar.
void AddModulePathElement(const std::wstring& element) {
  bool folder = GetFileAttributesW(element.c_str()) & FILE_ATTRIBUTE_DIRECTORY;
  WIN32_FIND_DATAW match;
  HANDLE search = FindFirstFileW(folder ? (element + L"\\*.jar").c_str() : element.c_str(), &match);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = match.cFileName;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, L".jar") == 0) {
      State().observable.insert(name.substr(0, name.size() - 4));
    }
  } while (FindNextFileW(search, &match));
  FindClose(search);
}

// The runtime's own modules, as its release file lists them
// (MODULES="java.base app"): a runtime made by jlink holds the application's.
void AddRuntimeModules() {
  State().observable.insert(L"java.base");
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&AddRuntimeModules), &self);
  wchar_t path[MAX_PATH];
  std::wstring home(path, GetModuleFileNameW(self, path, MAX_PATH));
  for (int i = 0; i < 3; ++i) home = home.substr(0, home.find_last_of(L'\\'));  // home\bin\server\jvm.dll
  HANDLE file = CreateFileW((home + L"\\release").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  char bytes[4096];
  DWORD n = 0;
  if (file == INVALID_HANDLE_VALUE) return;
  std::string text(bytes, ReadFile(file, bytes, sizeof(bytes), &n, nullptr) ? n : 0);
  CloseHandle(file);
  size_t at = text.find("MODULES=\"");
  if (at == std::string::npos) return;
  for (const std::wstring& name : Split(FromUtf8(text.substr(at + 9, text.find('"', at + 9) - at - 9)), L' ')) {
    State().observable.insert(name);
  }
}

}  // namespace

bool NoteModuleOption(const char* option) {
  std::wstring text = FromAnsi(option);
  size_t equals = text.find(L'=');
  if (equals == std::wstring::npos) return false;
  std::wstring name = text.substr(0, equals + 1), value = text.substr(equals + 1);
  if (name == L"-Djdk.module.main=") State().mainModule = value;
  if (name == L"--module-path=") State().modulePath = value;
  if (name == L"--add-modules=") State().added = Split(value, L',');
  return (name == L"--module-path=" || name == L"--add-modules=") && !value.empty();
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
    if (root.compare(0, 4, L"ALL-") == 0) continue;  // ALL-DEFAULT, ALL-SYSTEM, ALL-MODULE-PATH
    if (!state.observable.count(root)) {
      WriteRecord({L"bootlayer", L"Module " + root + L" not found"});
      std::string text = "Error occurred during initialization of boot layer\r\n"
                         "java.lang.module.FindException: Module " + ToUtf8(root) + " not found\r\n";
      DWORD written = 0;
      WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
      if (abortHook) abortHook();
      ExitProcess(1);
    }
    state.bootLayer.insert(root);
  }
}

const ClassInfo* ModuleMainClass(const std::wstring& text, const Ref& stream) {
  size_t slash = text.find(L'/');
  std::wstring module = text.substr(0, slash);
  if (!State().bootLayer.count(module)) {
    Throw("java/lang/InternalError", L"Module " + module + L" not in boot Layer");
    return nullptr;
  }
  if (slash == std::wstring::npos) {  // the stand-in's modules name no main class
    PrintText(stream, L"Error: Module " + module + L" does not have a ModuleMainClass attribute" + kLineSeparator);
    SystemExit(1);
  }
  std::wstring mainClass = text.substr(slash + 1);
  const ClassInfo* cls = FindClassInfo(Slashed(ToUtf8(mainClass)));
  if (!cls) {
    PrintText(stream, L"Error: Could not find or load main class " + mainClass + L" in module " + module +
                          kLineSeparator);
    SystemExit(1);
  }
  return cls;
}

}  // namespace fakejvm
