#include "BrandCommand.h"

#include "Brand.h"

BrandCommandResult RunBrandCommand(const std::vector<std::wstring>& args)
{
    BrandCommandResult result;
    if (args.size() == 1 && (args[0] == L"--help" || args[0] == L"/?")) {
        result.output = kBrandUsage;
        return result;
    }
    BrandOptions options;
    std::wstring error;
    if (!ParseBrandArguments(args, options, error)) {
        result.exitCode = 2;
        result.errors = L"jlaunch-brand: " + error + L"\n" + kBrandUsage;
        return result;
    }
    if (!BrandLauncher(options, error)) {
        result.exitCode = 1;
        result.errors = L"jlaunch-brand: " + error + L"\n";
        return result;
    }
    result.output = L"jlaunch-brand: wrote " + options.output + L"\n";
    return result;
}
