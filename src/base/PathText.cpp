#include "base/PathText.h"

#include "base/SplitList.h"

bool HasLongPrefix(const String& path)
{
    return path.StartsWith(kLongPrefix);
}

bool MakeExtendedLengthForm(const String& path, UncPathTest isUnc, String& result)
{
    int length = path.Length();
    if (length >= kPathLengthLimit)
        return false;
    if (length < kLongPathThreshold) {
        result = path;
        return true;
    }
    // A prefixed path (\\?\UNC\ included) is already in extended form.
    // Asked first: the shell's UNC test says yes to some prefixed local
    // paths on some systems.
    if (HasLongPrefix(path)) {
        result = path;
    } else if (isUnc(path.CStr())) {
        String extended(kLongUncPrefix);
        extended.Append(path.CStr() + 2, length - 2);
        result = static_cast<String&&>(extended);
    } else {
        String extended(kLongPrefix);
        extended.Append(path);
        result = static_cast<String&&>(extended);
    }
    return true;
}

void SplitPathText(const String& path, UncPathTest isUnc, StringList& parts)
{
    parts.Clear();
    String prefix;
    String rest;
    // Only a path that begins with the UNC prefix is a long UNC path; the
    // same characters further along are an ordinary (if odd) component.
    if (path.StartsWith(kLongUncPrefix)) {
        prefix = kLongUncPrefix;
        rest = path.Mid(8);
    } else if (HasLongPrefix(path)) {
        prefix = kLongPrefix;
        rest = path.Mid(4);
    } else {
        rest = path;
    }

    // The root ends at the first backslash, after the two leading ones of a
    // server path.
    int start = isUnc(rest.CStr()) ? 2 : 0;
    int end = rest.Length();
    if (start < rest.Length()) {
        int found = rest.Find(L'\\', start);
        if (found != String::npos)
            end = found;
    }
    String root(prefix);
    root.Append(rest.CStr(), end);
    rest.Remove(0, end < rest.Length() ? end + 1 : rest.Length());

    StringList pieces;
    SplitList(rest, L"\\", pieces);
    if (!root.IsEmpty())
        parts.Append(static_cast<String&&>(root));
    for (String& piece : pieces)
        parts.Append(static_cast<String&&>(piece));
}

void CutToFolderPart(String& fullPath)
{
    int cut = fullPath.ReverseFind(L'\\');
    int slash = fullPath.ReverseFind(L'/');
    if (slash > cut)
        cut = slash;
    if (cut != String::npos)
        fullPath.Truncate(cut);
}
