#include "jvm/AnsiPaths.h"

#include "base/Encoding.h"
#include "base/ResourceText.h"
#include "res/resource.h"

namespace {

ShortPathFunction g_shortPath = &GetShortPathNameW;

bool ShortPath(const String& path, String& shortPath)
{
    DWORD size = g_shortPath(path.CStr(), nullptr, 0);
    for (int attempt = 0; size > 0 && attempt < 3; ++attempt) {
        DWORD written = g_shortPath(path.CStr(), shortPath.GetBuffer(static_cast<int>(size)), size + 1);
        if (written == 0)
            break;
        if (written <= size) {
            shortPath.SetLength(static_cast<int>(written));
            return true;
        }
        size = written;  // renamed in between: try again with the new size
    }
    shortPath.Clear();
    return false;
}

}  // namespace

ShortPathFunction SetShortPathFunction(ShortPathFunction function)
{
    ShortPathFunction previous = g_shortPath;
    g_shortPath = function ? function : &GetShortPathNameW;
    return previous;
}

AnsiPathForm FindAnsiPathForm(const String& path, String& usable)
{
    usable.Clear();
    if (SurvivesAnsi(path)) {
        usable = path;
        return AnsiPathForm::Exact;
    }
    String shortPath;
    if (ShortPath(path, shortPath)) {
        if (!SurvivesAnsi(shortPath))
            return AnsiPathForm::NoShortName;
        usable = shortPath;
        return AnsiPathForm::Short;
    }
    if (GetFileAttributesW(path.CStr()) != INVALID_FILE_ATTRIBUTES)
        return AnsiPathForm::NoShortName;
    // A file that is not there (yet), or a pattern the runtime expands: its
    // folder's short form with the last name as written.
    int slash = path.ReverseFind(L'\\');
    if (slash <= 0)
        return AnsiPathForm::Missing;
    String name = path.Mid(slash + 1);
    if (!SurvivesAnsi(name) || !ShortPath(path.Left(slash), shortPath))
        return AnsiPathForm::Missing;
    shortPath.Append(L'\\');
    shortPath.Append(name);
    if (!SurvivesAnsi(shortPath))
        return AnsiPathForm::NoShortName;
    usable = shortPath;
    return AnsiPathForm::Short;
}

String PathRefusalText(const String& path, AnsiPathForm form)
{
    unsigned id = form == AnsiPathForm::Missing ? IDS_ANSI_PATH_MISSING : IDS_ANSI_PATH_NO_SHORT_NAME;
    return FormatText(TextId(id), path.CStr(), ThreadAnsiCodePage());
}
