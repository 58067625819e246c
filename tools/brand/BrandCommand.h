#pragma once

// jlaunch-brand's command line, the same on every system: the entry points
// (BrandMain.cpp on Windows, BrandMainPosix.cpp elsewhere) only convert the
// arguments and print the texts.

#include <string>
#include <vector>

struct BrandCommandResult {
    int exitCode = 0;    // 0 done, 1 refused input, 2 wrong command line
    std::wstring output;  // for standard output
    std::wstring errors;  // for standard error
};

// args: the arguments after the program name.
BrandCommandResult RunBrandCommand(const std::vector<std::wstring>& args);
