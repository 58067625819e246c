#pragma once

// Branding: a copy of the launcher with the application's icon, version
// information and embedded default settings.

#include "BrandOptions.h"

#include <string>

// Checks every input first; then copies the launcher to a temporary file
// beside the output, replaces its resources there and renames it to the
// output. On any failure the output is left as it was (absent or unchanged),
// the temporary file is removed and error holds the message.
bool BrandLauncher(const BrandOptions& options, std::wstring& error);
