#pragma once

// A messages file's texts put into the launcher's string table and its two
// dialogs (201, the runtime-not-found dialog, and 231, the uncaught-exception
// dialog), in every language the launcher carries them in. No Windows calls.

#include "MessagesFile.h"
#include "ResourceTree.h"

#include <string>
#include <vector>

// The texts of string block resources: entry id % 16 of block id / 16 + 1;
// an empty text is an absent string.
bool ReadStringBlock(const Bytes& data, std::vector<std::wstring>& texts);
Bytes BuildStringBlock(const std::vector<std::wstring>& texts);

// Replaces the texts in resources. Each string must exist in the launcher and
// keep the conversions of its built-in text (MessageFormat.h); each dialog key
// must name the caption or exactly one control that shows a text. Then every
// static text of both dialogs gets the height its text needs (DialogFit.h);
// the runtime dialog's message control is measured with the longer of
// strings 206 and 207 holding the longest requirement phrase (217 to 221).
// False with the reason (naming the key, and for a format the id and both
// texts) and resources unchanged otherwise.
bool ApplyMessages(const MessagesFile& messages, std::vector<StoredResource>& resources, std::wstring& reason);
