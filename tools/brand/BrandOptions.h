#pragma once

// What jlaunch-brand is asked to do, from its command line. No Windows calls.

#include <string>
#include <vector>

struct BrandOptions {
    std::wstring launcher;   // the launcher to copy
    std::wstring output;     // the branded copy
    std::wstring icon;       // .ico file; empty keeps the launcher's icon
    std::wstring name;       // product name and file description
    std::wstring version;    // file and product version, "1.2.3.4"
    std::wstring company;    // optional
    std::wstring copyright;  // optional
    std::wstring settings;   // INI file to embed; empty keeps the launcher's embedded settings
    std::wstring messages;   // messages file (MessagesFile.h); empty keeps the launcher's texts
    bool stripSignature = false;  // remove a certificate table instead of refusing the launcher
};

extern const wchar_t kBrandUsage[];

// The arguments after the program name. False with the reason when an option
// is unknown, given twice or (but for --strip-signature) without its value, or when the launcher, the
// output, --name or --version is missing.
bool ParseBrandArguments(const std::vector<std::wstring>& args, BrandOptions& options, std::wstring& reason);
