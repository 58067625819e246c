#pragma once

#include "base/List.h"
#include "base/Text.h"

// Text rules for long paths, kept apart from the file system so that they can
// be checked on tables of cases. Whether a path is a network (UNC) path is a
// question for the shell; callers pass the test in.

using UncPathTest = bool (*)(const wchar_t* path);

// Paths this long or longer need the extended-length form.
constexpr int kLongPathThreshold = 260;
// Paths this long or longer are refused outright.
constexpr int kPathLengthLimit = 32767;

constexpr const wchar_t kLongPrefix[] = L"\\\\?\\";         // \\?\ (4 characters)
constexpr const wchar_t kLongUncPrefix[] = L"\\\\?\\UNC\\";  // \\?\UNC\ (8 characters)

// True when path begins with \\?\ exactly.
bool HasLongPrefix(const String& path);

// The form in which path is handed to the file functions: unchanged below
// kLongPathThreshold; otherwise \\srv\share becomes \\?\UNC\srv\share and any
// other path gets \\?\ in front (it is not made absolute first). A path that
// already carries the matching prefix is left alone. Returns false, leaving
// result untouched, for a path of kPathLengthLimit characters or more.
bool MakeExtendedLengthForm(const String& path, UncPathTest isUnc, String& result);

// Breaks path into its root (drive, server, or either behind a long prefix,
// with the prefix kept) and its components. A path without a root, such as
// \a\f.txt, gives the components alone; a relative path's first component
// stands in the root's place. An empty path or a lone backslash gives no
// parts.
void SplitPathText(const String& path, UncPathTest isUnc, StringList& parts);

// Cuts a full path to its folder part: the text before the later of its last
// "\" and its last "/". A path without either is left whole.
void CutToFolderPart(String& fullPath);
