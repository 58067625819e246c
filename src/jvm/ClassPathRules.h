#pragma once

#include "base/Text.h"

// How one item of the "Class Path" setting is treated (after its environment
// references are expanded).

// The text without the blanks (spaces and tabs) around it.
String TrimBlanks(const String& text);

// The item as it is searched and written: blanks around it removed (so that
// "a.jar; b.jar" names two items) and "/" read as the folder separator "\".
String CleanClassPathItem(const String& item);

// A drive path ("C:...") or a network path ("\\server..."). Everything else,
// a single leading backslash included, is relative to the launcher's folder.
bool IsAbsoluteClassPathItem(const String& item);

// Contains "*" anywhere: the item is a search pattern.
bool IsWildcardClassPathItem(const String& item);
