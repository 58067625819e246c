#pragma once

// The INI text a packager gives for the embedded settings, turned into the
// UTF-16LE the launcher reads. No Windows calls: text in the ANSI code page is
// decoded by the function the caller passes.

#include "Bytes.h"

#include <string>

using AnsiDecoder = std::wstring (*)(const uint8_t* data, size_t size);

// Text with a byte-order mark is UTF-16LE, UTF-16BE or UTF-8 as the mark
// says; text without one is UTF-8 when it is valid UTF-8 and ANSI otherwise
// (refused when decodeAnsi is null).
// Data holding zero bytes or control characters other than tab, CR and LF is
// not text: false, with the reason.
bool DecodeIniText(const Bytes& data, AnsiDecoder decodeAnsi, std::wstring& text, std::wstring& reason);

// text as UTF-16LE with a byte-order mark, the form of the SETTINGS resource,
// with every line ending in CR LF (the launcher splits the text there; a lone
// LF or CR becomes CR LF).
Bytes EmbeddedSettingsData(const std::wstring& text);
