// jlaunch-brand on Linux and other POSIX systems: the same tool as on
// Windows, with UTF-8 arguments, paths and output.

#include "BrandCommand.h"
#include "Utf8.h"

#include <stdio.h>

int main(int argc, char** argv)
{
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(Utf8ToUtf16(argv[i]));
    BrandCommandResult result = RunBrandCommand(args);
    std::string output = Utf16ToUtf8(result.output), errors = Utf16ToUtf8(result.errors);
    fwrite(output.data(), 1, output.size(), stdout);
    fwrite(errors.data(), 1, errors.size(), stderr);
    return fflush(stdout) == 0 ? result.exitCode : 1;
}
