#pragma once

// What branding needs from the system it runs on: reading and writing whole
// files, and the ANSI code page. FileBytesWindows.cpp and FileBytesPosix.cpp
// implement it; everything else in the tool is the same on both systems.
// Paths are UTF-16 (converted to UTF-8 where the system's calls take bytes).

#include "Bytes.h"

#include <string>

// The whole file at path, when it is at most limit bytes. False with a
// message naming the file otherwise ("cannot open <path>: ...").
bool ReadFileBytes(const std::wstring& path, size_t limit, Bytes& bytes, std::wstring& error);

// Writes bytes to a new temporary file beside path, then renames it to path,
// so path is either left as it was or replaced whole. False with a message
// ("cannot create a file in <folder>: ...", "cannot write <path>: ...") and
// no temporary file left behind.
bool ReplaceFileBytes(const std::wstring& path, const Bytes& bytes, std::wstring& error);

// Text in the ANSI code page: the system's on Windows, Windows-1252 elsewhere.
std::wstring DecodeAnsi(const uint8_t* data, size_t size);

// The folder part of a path ("C:\dist" of "C:\dist\MyApp.exe", "." of "MyApp.exe").
std::wstring FolderOf(const std::wstring& path);
