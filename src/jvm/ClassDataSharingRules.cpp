#include "jvm/ClassDataSharingRules.h"

#include "base/Fnv1a.h"

namespace {

// Every field ends with a zero unit, so that text cannot move from one field
// into the next without changing the hash.
void HashText(Fnv1a& hash, const String& text)
{
    hash.AddUnits(text);
    hash.AddByte(0);
    hash.AddByte(0);
}

void HashText(Fnv1a& hash, const AnsiString& text)
{
    hash.AddBytes(text.CStr(), static_cast<size_t>(text.Length()));
    hash.AddByte(0);
}

bool IsPathOption(const AnsiString& option)
{
    return option.StartsWith("-Djava.class.path=") || option.StartsWith("-Djdk.module.path=") ||
           option.StartsWith("--module-path");
}

bool IsHexDigit(wchar_t c)
{
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'F') || (c >= L'a' && c <= L'f');
}

const wchar_t kExtension[] = L".jsa";
const int kHashDigits = 16;

}  // namespace

int FeatureRelease(const JavaVersion& version)
{
    return version.component[0] == 1 ? version.component[1] : version.component[0];
}

bool IsOwnArchiveOption(const AnsiString& option)
{
    return option.StartsWith("-XX:SharedArchiveFile") || option.StartsWith("-XX:ArchiveClassesAtExit") ||
           option.Equals("-XX:+AutoCreateSharedArchive") || option.Equals("-XX:-AutoCreateSharedArchive") ||
           option.Equals("-Xshare:off") || option.Equals("-Xshare:dump");
}

ArchiveVerdict DecideArchive(const AnsiList& options, bool versionKnown, const JavaVersion& version)
{
    for (const AnsiString& option : options)
        if (IsOwnArchiveOption(option))
            return ArchiveVerdict::UsersOwn;
    if (!versionKnown)
        return ArchiveVerdict::VersionUnknown;
    if (FeatureRelease(version) < kAutoArchiveRelease)
        return ArchiveVerdict::RuntimeTooOld;
    return ArchiveVerdict::Add;
}

uint64_t ArchiveHash(const String& runtimeHome, const AnsiList& options, const String& launcherVersion)
{
    Fnv1a hash;
    HashText(hash, runtimeHome);
    for (const AnsiString& option : options)
        if (IsPathOption(option))
            HashText(hash, option);
    HashText(hash, launcherVersion);
    return hash.Value();
}

String ArchiveFileName(const String& baseName, uint64_t hash)
{
    String name(baseName);
    name.Append(L'-');
    AppendHex16(name, hash, false);
    name.Append(kExtension);
    return name;
}

bool IsArchiveFileName(const String& name, const String& baseName)
{
    int extensionLength = String::Measure(kExtension);
    if (name.Length() != baseName.Length() + 1 + kHashDigits + extensionLength)
        return false;
    if (!name.Left(baseName.Length()).EqualsNoCase(baseName.CStr()) || name[baseName.Length()] != L'-')
        return false;
    for (int i = baseName.Length() + 1; i < baseName.Length() + 1 + kHashDigits; ++i)
        if (!IsHexDigit(name[i]))
            return false;
    return name.Mid(name.Length() - extensionLength).EqualsNoCase(kExtension);
}

StringList ArchivesToDelete(const List<ArchiveFile>& archives, const String& current)
{
    // An archive stays when fewer than kArchivesKept - 1 other archives are
    // newer than it (of two with the same time, the earlier listed counts as
    // newer).
    StringList doomed;
    for (int i = 0; i < archives.Count(); ++i) {
        if (archives[i].name.EqualsNoCase(current.CStr()))
            continue;
        int newer = 0;
        for (int j = 0; j < archives.Count(); ++j) {
            if (j == i || archives[j].name.EqualsNoCase(current.CStr()))
                continue;
            if (archives[j].writeTime > archives[i].writeTime ||
                (archives[j].writeTime == archives[i].writeTime && j < i))
                ++newer;
        }
        if (newer >= kArchivesKept - 1)
            doomed.Append(archives[i].name);
    }
    return doomed;
}

void AppendArchiveOptions(const AnsiString& archivePath, AnsiList& options)
{
    AnsiString file("-XX:SharedArchiveFile=");
    file.Append(archivePath);
    options.Append(static_cast<AnsiString&&>(file));
    options.Append(AnsiString("-XX:+AutoCreateSharedArchive"));
}
