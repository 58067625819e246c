#include "BrandOptions.h"

const wchar_t kBrandUsage[] =
    L"usage: jlaunch-brand launcher.exe MyApp.exe --name \"My App\" --version 1.2.3.4\n"
    L"                     [--icon app.ico] [--company \"...\"] [--copyright \"...\"] [--settings defaults.ini]\n"
    L"                     [--messages messages.ini] [--strip-signature]\n"
    L"Copies the launcher to MyApp.exe with the application's icon, version information,\n"
    L"embedded default settings and the texts of a messages file (messages/en.ini for\n"
    L"English). Sign MyApp.exe afterwards: a signed launcher is refused unless\n"
    L"--strip-signature removes its signature first.\n";

bool ParseBrandArguments(const std::vector<std::wstring>& args, BrandOptions& options, std::wstring& reason)
{
    struct Option {
        const wchar_t* name;
        std::wstring BrandOptions::*field;  // null: a switch without a value
    };
    static const Option kOptions[] = {
        {L"--icon", &BrandOptions::icon},       {L"--name", &BrandOptions::name},
        {L"--version", &BrandOptions::version}, {L"--company", &BrandOptions::company},
        {L"--copyright", &BrandOptions::copyright}, {L"--settings", &BrandOptions::settings},
        {L"--messages", &BrandOptions::messages},   {L"--strip-signature", nullptr},
    };
    options = BrandOptions();
    std::vector<std::wstring> files;
    std::vector<const Option*> seen;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i].compare(0, 2, L"--") != 0) {
            files.push_back(args[i]);
            continue;
        }
        const Option* option = nullptr;
        for (const Option& candidate : kOptions)
            if (args[i] == candidate.name)
                option = &candidate;
        if (!option) {
            reason = L"unknown option " + args[i];
            return false;
        }
        for (const Option* earlier : seen)
            if (earlier == option) {
                reason = args[i] + L" is given twice";
                return false;
            }
        seen.push_back(option);
        if (!option->field) {
            options.stripSignature = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            reason = args[i] + L" needs a value";
            return false;
        }
        options.*(option->field) = args[++i];
    }
    if (files.size() != 2) {
        reason = files.size() < 2 ? L"name the launcher to copy and the branded file to write"
                                  : L"unexpected argument " + files[2];
        return false;
    }
    options.launcher = files[0];
    options.output = files[1];
    if (options.name.empty() || options.version.empty()) {
        reason = options.name.empty() ? L"--name is required" : L"--version is required";
        return false;
    }
    return true;
}
