#pragma once

#include "base/List.h"
#include "base/Text.h"

// Splits text at every occurrence of separator. Empty items between two
// separators stay; a trailing separator adds no empty last item; an empty
// text gives an empty list. Items are not trimmed.
void SplitList(const String& text, const wchar_t* separator, StringList& items);
