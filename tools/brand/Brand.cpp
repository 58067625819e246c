#include "Brand.h"

#include "FileBytes.h"
#include "IconFile.h"
#include "IniText.h"
#include "LauncherMessages.h"
#include "LauncherResources.h"
#include "ResourceWriter.h"
#include "VersionResource.h"

#include "res/resource.h"

namespace {

constexpr size_t kInputLimit = 64 * 1024 * 1024;
constexpr size_t kTextLimit = 1024;  // characters of a version string
constexpr uint16_t kFirstIconId = 1;
constexpr uint16_t kVersionInfoId = 1;     // VS_VERSION_INFO
constexpr uint16_t kNeutralLanguage = 0;  // LANG_NEUTRAL, SUBLANG_NEUTRAL

// Everything the branded copy receives, checked.
struct Branding {
    std::vector<IconImage> icons;  // empty: keep the launcher's
    bool hasSettings = false;
    std::wstring settingsText;
    VersionInfo version;
    bool hasMessages = false;
    MessagesFile messages;
};

// The last path component ("MyApp.exe").
std::wstring FileName(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/:");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
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
    if (!options.messages.empty()) {
        std::wstring text;
        if (!ReadFileBytes(options.messages, kInputLimit, bytes, error))
            return false;
        if (!DecodeIniText(bytes, nullptr, text, reason) || !ParseMessagesFile(text, branding.messages, reason)) {
            error = options.messages + L" cannot be used as messages: " + reason;
            return false;
        }
        branding.hasMessages = true;
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
    if (resource.type.Is(kTypeIcon) || resource.type.Is(kTypeGroupIcon))
        return !branding.icons.empty();
    if (resource.type.Is(kTypeRcData) && resource.name.Is(JL_EMBEDDED_SETTINGS_NAME))
        return branding.hasSettings;
    return resource.type.Is(kTypeVersion);
}

// The launcher's resources with the branding's in place of the ones it replaces.
std::vector<StoredResource> BrandedResources(const LauncherResources& old, Branding& branding)
{
    std::vector<StoredResource> resources;
    for (const StoredResource& resource : old.all)
        if (!IsReplaced(resource, branding))
            resources.push_back(resource);
    auto add = [&](const ResourceName& type, const ResourceName& name, uint16_t language, Bytes data) {
        resources.push_back(StoredResource{type, name, language, static_cast<Bytes&&>(data)});
    };
    if (!branding.icons.empty()) {
        // The new images take the place of every old icon, under the
        // application icon's group name and language.
        uint16_t id = kFirstIconId;
        for (const IconImage& image : branding.icons)
            add(ResourceName::Id(kTypeIcon), ResourceName::Id(id++), old.iconLanguage, image.data);
        add(ResourceName::Id(kTypeGroupIcon), old.iconGroup, old.iconLanguage,
            IconGroupData(branding.icons, kFirstIconId));
    }
    // A copy branded before keeps its company and copyright unless they are
    // given again.
    for (auto& [name, value] : branding.version.strings) {
        if (!value.empty() || (name != L"CompanyName" && name != L"LegalCopyright"))
            continue;
        for (const StoredResource& resource : old.all)
            if (resource.type.Is(kTypeVersion) && FindVersionString(resource.data, name, value))
                break;
    }
    branding.version.language = old.language;
    add(ResourceName::Id(kTypeVersion), ResourceName::Id(kVersionInfoId), old.language,
        BuildVersionResource(branding.version));
    if (branding.hasSettings) {
        // Language neutral: the launcher looks the resource up by name alone.
        add(ResourceName::Id(kTypeRcData), ResourceName::Text(JL_EMBEDDED_SETTINGS_NAME), kNeutralLanguage,
            EmbeddedSettingsData(branding.settingsText));
    }
    return resources;
}

const wchar_t kSignedRefusal[] = L"sign after branding; use --strip-signature to brand a signed copy";

}  // namespace

bool BrandLauncher(const BrandOptions& options, std::wstring& error)
{
    Branding branding;
    Bytes file;
    LauncherResources old;
    if (!CheckInputs(options, branding, error) || !ReadFileBytes(options.launcher, kInputLimit, file, error) ||
        !ReadLauncherResources(file, options.launcher, old, error))
        return false;
    std::wstring reason;
    if (HasCertificateTable(old.layout)) {
        if (!options.stripSignature) {
            error = options.launcher + L" is signed: " + kSignedRefusal;
            return false;
        }
        if (!StripCertificateTable(file, reason)) {
            error = L"cannot remove the signature of " + options.launcher + L": " + reason;
            return false;
        }
    }
    std::vector<StoredResource> resources = BrandedResources(old, branding);
    if (branding.hasMessages && !ApplyMessages(branding.messages, resources, reason)) {
        error = options.messages + L" cannot be used as messages for " + options.launcher + L": " + reason;
        return false;
    }
    if (!ReplaceResources(file, resources, reason)) {
        error = L"cannot write the resources of " + options.launcher + L": " + reason;
        return false;
    }
    return ReplaceFileBytes(options.output, file, error);
}
