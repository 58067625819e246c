#pragma once

#include "base/Text.h"

#include <stddef.h>

// The INI text the executable carries as its RCDATA resource named SETTINGS
// (UTF-16LE, optionally with a byte-order mark); empty when there is none.
String LoadEmbeddedSettingsText();

// The text in size bytes of UTF-16LE data: a trailing odd byte is dropped and
// the text ends at the first zero unit or at the end of the data, whichever
// comes first. Nothing beyond size bytes is read.
String DecodeEmbeddedSettings(const void* data, size_t size);
