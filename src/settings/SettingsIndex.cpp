#include "settings/SettingsIndex.h"

#include "base/List.h"
#include "base/UniqueResource.h"
#include "settings/GrowingBuffer.h"
#include "settings/Utf16SettingsCopy.h"

#include <windows.h>

namespace {

struct SectionKeys {
    String section;
    bool anyKey = false;  // a name the filter cannot judge: every key may be there
    StringList keys;
};

// What tells one state of a file from the next: a file written, replaced,
// created or deleted since the index was made is listed again. The write
// time can be set back by whoever writes the file, so the change time (which
// any write or attribute change moves on) and the file's identity (a file
// put in its place by a rename is another file) count too.
struct FileStamp {
    enum State { Absent, Present, Unknown };
    State state = Unknown;
    FILETIME written = {};
    LARGE_INTEGER changed = {};
    DWORD sizeHigh = 0;
    DWORD sizeLow = 0;
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;

    // Unknown when the file exists but cannot be opened, or its times cannot
    // be read: its listing would be empty whatever it holds.
    static FileStamp Of(const String& path)
    {
        FileStamp stamp;
        const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        UniqueFileHandle file(
            CreateFileW(path.CStr(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                stamp.state = Absent;
            return stamp;
        }
        BY_HANDLE_FILE_INFORMATION info = {};
        FILE_BASIC_INFO basic = {};
        if (!GetFileInformationByHandle(file.get(), &info) ||
            !GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof(basic)))
            return stamp;
        stamp.state = Present;
        stamp.written = info.ftLastWriteTime;
        stamp.changed = basic.ChangeTime;
        stamp.sizeHigh = info.nFileSizeHigh;
        stamp.sizeLow = info.nFileSizeLow;
        stamp.volume = info.dwVolumeSerialNumber;
        stamp.indexHigh = info.nFileIndexHigh;
        stamp.indexLow = info.nFileIndexLow;
        return stamp;
    }
    bool IsEmptyFile() const { return state == Present && sizeHigh == 0 && sizeLow == 0; }
    // An unknown state equals no other, itself included.
    bool operator==(const FileStamp& other) const
    {
        if (state != other.state || state == Unknown)
            return false;
        return written.dwLowDateTime == other.written.dwLowDateTime &&
               written.dwHighDateTime == other.written.dwHighDateTime && changed.QuadPart == other.changed.QuadPart &&
               sizeHigh == other.sizeHigh && sizeLow == other.sizeLow && volume == other.volume &&
               indexHigh == other.indexHigh && indexLow == other.indexLow;
    }
};

struct FileIndex {
    String path;
    FileStamp stamp;
    SettingsReadSource source;  // what the profile functions read for path
    bool anySection = false;
    StringList sections;
    List<SectionKeys> read;
};

SRWLOCK g_lock = SRWLOCK_INIT;
List<FileIndex>* g_files = nullptr;  // on the process heap for the process's life

bool IsAscii(const String& name)
{
    for (int i = 0; i < name.Length(); ++i)
        if (name[i] > 0x7F)
            return false;
    return true;
}

String TrimBlanks(const String& text)
{
    int start = 0;
    int end = text.Length();
    while (start < end && (text[start] == L' ' || text[start] == L'\t'))
        ++start;
    while (end > start && (text[end - 1] == L' ' || text[end - 1] == L'\t'))
        --end;
    return text.Mid(start, end - start);
}

// Cuts each listed entry down to the name it carries (nameOf). False when
// one of the names is not plain ASCII.
template <typename NameOf>
bool ToNames(StringList& entries, NameOf nameOf)
{
    bool ascii = true;
    for (String& entry : entries) {
        entry = nameOf(entry);
        ascii = ascii && IsAscii(entry);
    }
    return ascii;
}

int CountName(const StringList& names, const String& name)
{
    int count = 0;
    for (const String& candidate : names)
        if (candidate.EqualsNoCase(name.CStr()))
            ++count;
    return count;
}

FileIndex& IndexOf(const String& path, bool recheck)
{
    if (!g_files)
        g_files = new List<FileIndex>();
    FileStamp stamp;
    bool stamped = false;
    for (int i = 0; i < g_files->Count(); ++i) {
        FileIndex& file = (*g_files)[i];
        if (file.path == path) {
            if (!recheck)
                return file;
            stamp = FileStamp::Of(path);
            stamped = true;
            if (file.stamp == stamp)
                return file;
            g_files->RemoveAt(i);
            break;
        }
    }
    FileIndex& file = g_files->Append(FileIndex());
    file.path = path;
    file.stamp = stamped ? stamp : FileStamp::Of(path);
    // Chosen after the stamp is taken: a change made meanwhile moves the
    // stamp on, and the next recheck chooses again.
    ChooseSettingsReadSource(path, file.source);
    const String& readPath = file.source.path;
    ReadZeroSeparatedList(file.sections, [&](wchar_t* buffer, int size) {
        return static_cast<int>(GetPrivateProfileSectionNamesW(buffer, static_cast<DWORD>(size), readPath.CStr()));
    });
    file.anySection = !ToNames(file.sections, [](const String& name) { return TrimBlanks(name); });
    // The system lists nothing for a file it could not open. An empty
    // listing is taken at its word only for a file that is absent or empty;
    // otherwise nothing is ruled out, and the next reader lists it again.
    if (file.sections.Count() == 0 && file.stamp.state != FileStamp::Absent && !file.stamp.IsEmptyFile()) {
        file.anySection = true;
        file.stamp.state = FileStamp::Unknown;
    }
    return file;
}

SectionKeys& KeysOf(FileIndex& file, const String& section)
{
    for (SectionKeys& keys : file.read)
        if (keys.section == section)
            return keys;
    SectionKeys& keys = file.read.Append(SectionKeys());
    keys.section = section;
    ReadZeroSeparatedList(keys.keys, [&](wchar_t* buffer, int size) {
        return static_cast<int>(GetPrivateProfileSectionW(section.CStr(), buffer, static_cast<DWORD>(size),
                                                          file.source.path.CStr()));
    });
    keys.anyKey = !ToNames(keys.keys, [](const String& entry) {
        int equals = entry.Find(L'=');
        return TrimBlanks(equals < 0 ? entry : entry.Left(equals));
    });
    // The section was listed, so an empty listing of its keys may as well
    // come from a file that could not be opened this time.
    if (keys.keys.Count() == 0)
        keys.anyKey = true;
    return keys;
}

}  // namespace

bool SettingsFileMayHold(const String& path, const String& section, const String& key, bool recheck)
{
    AcquireSRWLockExclusive(&g_lock);
    FileIndex& file = IndexOf(path, recheck);
    bool mayHold = true;
    // Keys before the first section answer to the empty name, which the
    // listing of section names leaves out; names the filter cannot compare
    // exactly are left to the system.
    bool judged = !file.anySection && !section.IsEmpty() && IsAscii(section) && IsAscii(key);
    int sections = judged ? CountName(file.sections, section) : -1;
    if (sections == 0) {
        mayHold = false;
    } else if (sections == 1) {
        // A repeated section is left to the system, whichever of them it reads.
        SectionKeys& keys = KeysOf(file, section);
        mayHold = keys.anyKey || CountName(keys.keys, key) > 0;
    }
    ReleaseSRWLockExclusive(&g_lock);
    return mayHold;
}

void GetSettingsReadSource(const String& path, SettingsReadSource& source)
{
    AcquireSRWLockExclusive(&g_lock);
    FileIndex& file = IndexOf(path, true);
    source.path = file.source.path;
    source.hold.reset();
    // The reader's own hold keeps its copy while this index moves on.
    if (file.source.hold.valid()) {
        HANDLE process = GetCurrentProcess();
        DuplicateHandle(process, file.source.hold.get(), process, source.hold.put(), 0, FALSE, DUPLICATE_SAME_ACCESS);
    }
    ReleaseSRWLockExclusive(&g_lock);
}

void ForgetSettingsFile(const String& path)
{
    AcquireSRWLockExclusive(&g_lock);
    for (int i = g_files ? g_files->Count() - 1 : -1; i >= 0; --i)
        if ((*g_files)[i].path == path)
            g_files->RemoveAt(i);
    ReleaseSRWLockExclusive(&g_lock);
}
