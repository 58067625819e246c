#include "settings/Utf16SettingsCopy.h"

#include "base/Fnv1a.h"
#include "settings/SettingsFileBytes.h"

#include <windows.h>

namespace {

// A name for a path or a content, not a safeguard: a copy is used only when
// its bytes are the expected ones.
String HashName(const void* data, size_t size)
{
    Fnv1a hash;
    hash.AddBytes(data, size);
    String name;
    AppendHex16(name, hash.Value(), false);
    return name;
}

// The copies' folder, with a final "\"; empty when there is none.
String CopyFolder()
{
    wchar_t temp[MAX_PATH + 1] = {};
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH)
        return String();
    String folder = String(temp, static_cast<int>(length)) + L"jlaunch-settings";
    CreateDirectoryW(folder.CStr(), nullptr);  // an existing folder is fine; other failures show below
    return folder + L'\\';
}

// Opens the copy for as long as it is used and checks that it holds bytes.
bool HoldIfEqual(const String& copy, const AnsiString& bytes, UniqueFileHandle& hold)
{
    // No delete sharing: while held, nobody removes or renames over it.
    hold.reset(CreateFileW(copy.CStr(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    AnsiString held;
    if (hold.valid() && ReadSettingsFileBytes(hold.get(), held) && held == bytes)
        return true;
    hold.reset();
    return false;
}

// Removes the copies of earlier versions of the same source; those still in
// use elsewhere stay until a later launch.
void RemoveOtherCopies(const String& folder, const String& sourceName, const String& keep)
{
    WIN32_FIND_DATAW found;
    UniqueFindHandle find(FindFirstFileW((folder + sourceName + L"-*.ini").CStr(), &found));
    if (!find.valid())
        return;
    do {
        String name(found.cFileName);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(folder + name == keep))
            DeleteFileW((folder + name).CStr());
    } while (FindNextFileW(find.get(), &found));
}

}  // namespace

void ChooseSettingsReadSource(const String& path, SettingsReadSource& source)
{
    source.path = path;
    source.hold.reset();
    String text;
    if (ReadSettingsText(path, text) == SettingsTextForm::System)
        return;
    String folder = CopyFolder();
    if (folder.IsEmpty())
        return;
    AnsiString bytes = Utf16FileBytes(text);
    String sourceName = HashName(path.CStr(), sizeof(wchar_t) * static_cast<size_t>(path.Length()));
    String copy = folder + sourceName + L'-' + HashName(bytes.CStr(), static_cast<size_t>(bytes.Length())) + L".ini";
    if (!HoldIfEqual(copy, bytes, source.hold)) {
        String scratch = ScratchPathBeside(copy);
        if (WriteSettingsFileBytes(scratch, bytes, CREATE_NEW) &&
            !MoveFileExW(scratch.CStr(), copy.CStr(), MOVEFILE_REPLACE_EXISTING))
            DeleteFileW(scratch.CStr());
        // Another launcher may have made the same copy meanwhile.
        if (!HoldIfEqual(copy, bytes, source.hold))
            return;
        RemoveOtherCopies(folder, sourceName, copy);
    }
    source.path = copy;
}
