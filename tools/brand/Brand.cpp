#include "Brand.h"

#include "FileBytes.h"
#include "IconFile.h"
#include "IniText.h"
#include "LauncherResources.h"
#include "ResourceUpdate.h"
#include "VersionResource.h"

#include "res/resource.h"

namespace {

constexpr size_t kInputLimit = 64 * 1024 * 1024;
constexpr size_t kTextLimit = 1024;  // characters of a version string
constexpr uint16_t kFirstIconId = 1;

// Everything the branded copy receives, checked.
struct Branding {
    std::vector<IconImage> icons;  // empty: keep the launcher's
    bool hasSettings = false;
    std::wstring settingsText;
    VersionInfo version;
};

std::wstring DecodeAnsi(const uint8_t* data, size_t size)
{
    int length = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(data), static_cast<int>(size), nullptr, 0);
    std::wstring text(length > 0 ? length : 0, L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(data), static_cast<int>(size), &text[0], length);
    return text;
}

// The last path component ("MyApp.exe").
std::wstring FileName(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/:");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring FolderOf(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return path.size() >= 2 && path[1] == L':' ? path.substr(0, 2) : L".";
    // A root keeps its backslash: "C:\" and "\", not the current folder of drive C:.
    bool root = slash == 0 || (slash == 2 && path[1] == L':');
    return path.substr(0, root ? slash + 1 : slash);
}

bool CheckInputs(const BrandOptions& options, Branding& branding, std::wstring& error)
{
    if (!ParseVersionNumber(options.version, branding.version.version)) {
        error = L"--version \"" + options.version + L"\" is not four numbers from 0 to 65535 separated by dots (like 1.2.3.4)";
        return false;
    }
    const std::pair<const wchar_t*, const std::wstring*> texts[] = {
        {L"--name", &options.name}, {L"--company", &options.company}, {L"--copyright", &options.copyright}};
    for (const auto& text : texts) {
        if (text.second->size() > kTextLimit) {
            error = std::wstring(text.first) + L" is longer than " + std::to_wstring(kTextLimit) + L" characters";
            return false;
        }
    }
    Bytes bytes;
    std::wstring reason;
    if (!options.icon.empty()) {
        if (!ReadFileBytes(options.icon, kInputLimit, bytes, error))
            return false;
        if (!ParseIconFile(bytes, branding.icons, reason)) {
            error = options.icon + L" is not a usable icon: " + reason;
            return false;
        }
        if (branding.icons.size() > 0xFFFF - kFirstIconId) {
            error = options.icon + L" holds too many images";
            return false;
        }
    }
    if (!options.settings.empty()) {
        if (!ReadFileBytes(options.settings, kInputLimit, bytes, error))
            return false;
        if (!DecodeIniText(bytes, DecodeAnsi, branding.settingsText, reason)) {
            error = options.settings + L" cannot be embedded as settings: " + reason;
            return false;
        }
        branding.hasSettings = true;
    }
    std::wstring fileName = FileName(options.output);
    if (fileName.size() > kTextLimit) {
        error = L"the output's file name is longer than " + std::to_wstring(kTextLimit) + L" characters";
        return false;
    }
    std::wstring internalName = fileName.substr(0, fileName.rfind(L'.'));
    branding.version.strings = {
        {L"CompanyName", options.company},       {L"FileDescription", options.name},
        {L"FileVersion", options.version},       {L"InternalName", internalName},
        {L"LegalCopyright", options.copyright},  {L"OriginalFilename", fileName},
        {L"ProductName", options.name},          {L"ProductVersion", options.version},
    };
    return true;
}

// Whether the branding writes its own resource in place of this one.
bool IsReplaced(const StoredResource& resource, const Branding& branding)
{
    if (resource.type.Is(RT_ICON) || resource.type.Is(RT_GROUP_ICON))
        return !branding.icons.empty();
    if (resource.type.Is(RT_RCDATA) && resource.name.Is(JL_EMBEDDED_SETTINGS_NAME))
        return branding.hasSettings;
    return resource.type.Is(RT_VERSION);
}

bool ApplyBranding(const std::wstring& path, const LauncherResources& old, Branding& branding, std::wstring& error)
{
    ResourceUpdate update;
    if (!update.Begin(path, error))
        return false;
    bool ok = true;
    for (const StoredResource& resource : old.all)
        if (!IsReplaced(resource, branding))
            ok = ok && update.Put(resource.type.Get(), resource.name.Get(), resource.language, resource.data);
    if (!branding.icons.empty()) {
        // The new images take the place of every old icon, under the
        // application icon's group name and language.
        uint16_t id = kFirstIconId;
        for (const IconImage& image : branding.icons)
            ok = ok && update.Put(RT_ICON, MAKEINTRESOURCEW(id++), old.iconLanguage, image.data);
        ok = ok && update.Put(RT_GROUP_ICON, old.iconGroup.Get(), old.iconLanguage,
                              IconGroupData(branding.icons, kFirstIconId));
    }
    branding.version.language = old.language;
    ok = ok && update.Put(RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO), old.language,
                          BuildVersionResource(branding.version));
    if (branding.hasSettings) {
        // Language neutral: the launcher looks the resource up by name alone.
        ok = ok && update.Put(RT_RCDATA, JL_EMBEDDED_SETTINGS_NAME, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                              EmbeddedSettingsData(branding.settingsText));
    }
    if (ok && update.Commit())
        return true;
    error = update.Error();
    return false;
}

// A temporary file that is deleted unless it was renamed into place.
class TemporaryOutput {
public:
    TemporaryOutput() = default;
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;
    ~TemporaryOutput()
    {
        if (!m_path.empty())
            DeleteFileW(m_path.c_str());
    }
    // A new empty file in folder.
    bool Create(const std::wstring& folder, std::wstring& error)
    {
        std::wstring path(MAX_PATH + 16, L'\0');  // the size the call requires
        if (!GetTempFileNameW(folder.c_str(), L"jlb", 0, &path[0])) {
            DWORD code = GetLastError();
            error = SystemError(L"cannot create a file in " + folder, code);
            return false;
        }
        path.resize(wcslen(path.c_str()));
        m_path = path;
        return true;
    }
    const std::wstring& Path() const { return m_path; }
    bool RenameTo(const std::wstring& target, std::wstring& error)
    {
        if (!MoveFileExW(m_path.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            DWORD code = GetLastError();
            error = SystemError(L"cannot write " + target, code);
            return false;
        }
        m_path.clear();
        return true;
    }

private:
    std::wstring m_path;
};

}  // namespace

bool BrandLauncher(const BrandOptions& options, std::wstring& error)
{
    Branding branding;
    LauncherResources old;
    if (!CheckInputs(options, branding, error) || !ReadLauncherResources(options.launcher, old, error))
        return false;
    TemporaryOutput temporary;
    if (!temporary.Create(FolderOf(options.output), error))
        return false;
    if (!CopyFileW(options.launcher.c_str(), temporary.Path().c_str(), FALSE)) {
        DWORD code = GetLastError();
        error = SystemError(L"cannot copy " + options.launcher, code);
        return false;
    }
    // A read-only launcher gives a read-only copy, which cannot be updated.
    SetFileAttributesW(temporary.Path().c_str(), FILE_ATTRIBUTE_NORMAL);
    return ApplyBranding(temporary.Path(), old, branding, error) && temporary.RenameTo(options.output, error);
}
