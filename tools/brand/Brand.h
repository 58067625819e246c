#pragma once

// Branding: a copy of the launcher with the application's icon, version
// information, embedded default settings and the packager's texts.

#include "BrandOptions.h"

#include <string>

// Checks every input first; then reads the launcher, replaces its resources
// in memory (a signed launcher is refused unless options.stripSignature asks
// to remove its certificate table first), writes the result with a correct
// checksum to a temporary file beside the output and renames it to the
// output. On any failure the output is left as it was (absent or unchanged),
// no temporary file is left and error holds the message. The same inputs give
// the same bytes on every system the tool is built for.
bool BrandLauncher(const BrandOptions& options, std::wstring& error);
