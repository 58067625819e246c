#pragma once

// Inputs for the branding tool (icon files, INI bytes) and readers for what
// a branded executable carries, on plain Win32 calls independent of the tool.

#include "support/harness/Harness.h"

#include <string>
#include <vector>

// The launcher of this build (launcher.exe, or launcher64.exe in a 64-bit build).
std::wstring BuiltLauncher();
// BuildDir()\bin\jlaunch-brand.exe.
std::wstring BrandTool();
// The English messages file of the source tree, messages/en.ini.
std::wstring EnglishMessages();

// Image bytes as an icon holds them: a bitmap (BITMAPINFOHEADER, 32 bits per
// pixel, side x side, with its AND mask) or a PNG (signature and filler; the
// tool does not decode images). seed varies the pixels.
std::string BitmapImage(int side, char seed);
std::string PngImage(int side, char seed);
// An .ico file holding the images, each entry describing a side x side image.
std::string IconFile(const std::vector<std::pair<int, std::string>>& images);

// Little-endian writes into a byte string, for building and corrupting files.
void SetU16(std::string& bytes, size_t at, unsigned value);
void SetU32(std::string& bytes, size_t at, unsigned long value);

struct ResourceData {
    bool found = false;
    std::string bytes;
};
// One resource of an executable file, read without running it (any language).
ResourceData ReadResource(const std::wstring& exe, LPCWSTR type, LPCWSTR name);
// The names of every resource of the type (ids as "#n").
std::vector<std::wstring> ResourceNames(const std::wstring& exe, LPCWSTR type);
// A value of the version information's first string table ("ProductName"),
// and the fixed part's file and product version as "a.b.c.d".
std::wstring VersionString(const std::wstring& exe, const std::wstring& name);
std::wstring FixedFileVersion(const std::wstring& exe);
std::wstring FixedProductVersion(const std::wstring& exe);

// Runs the tool as a process; its exit code and what it wrote to stderr.
struct ToolRun {
    DWORD exitCode = 0;
    std::string errors;
};
ToolRun RunBrandTool(const std::wstring& arguments, const std::wstring& folder);

// Names of the files in folder (not "." and "..").
std::vector<std::wstring> FilesIn(const std::wstring& folder);
