#pragma once

#include "Bytes.h"

#include <windows.h>

#include <string>

// The whole file at path, when it is at most limit bytes. False with a
// message naming the file otherwise.
bool ReadFileBytes(const std::wstring& path, size_t limit, Bytes& bytes, std::wstring& error);

// "<what>: <the system's text for code> (error <code>)".
std::wstring SystemError(const std::wstring& what, DWORD code);
