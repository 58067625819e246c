#include "splash/SplashRules.h"

#include "jvm/Environment.h"

String NativeSplashLibraryCandidate(const String& jvmLibraryPath)
{
    String folder = StripLastComponents(jvmLibraryPath, 2);
    if (folder.IsEmpty())
        return folder;
    if (folder.Last() != L'\\' && folder.Last() != L'/')
        folder.Append(L'\\');
    folder.Append(L"splashscreen.dll");
    return folder;
}

namespace {

struct Variant {
    const wchar_t* suffix;
    int percent;
};

// In order of scale; of two names for one scale, the first found is taken.
const Variant kVariants[] = {
    {L"@125pct", 125}, {L"@150pct", 150}, {L"@175pct", 175}, {L"@2x", 200},
    {L"@200pct", 200}, {L"@250pct", 250}, {L"@3x", 300},     {L"@300pct", 300},
};

}  // namespace

int ScalePercent(int dpi)
{
    return dpi > 0 ? (dpi * 100 + 48) / 96 : 100;
}

String PictureVariantPath(const String& path, const wchar_t* suffix)
{
    int component = path.Length();
    while (component > 0 && path[component - 1] != L'\\' && path[component - 1] != L'/')
        --component;
    int dot = path.ReverseFind(L'.');
    String result(path);
    if (dot != String::npos && dot > component)
        result.Insert(dot, String(suffix));
    else
        result.Append(suffix);
    return result;
}

SplashPicture ChooseSplashPicture(const String& path, int screenPercent, const FileProbe& files)
{
    if (screenPercent > 100 && !path.IsEmpty()) {
        for (const Variant& variant : kVariants) {
            if (variant.percent < screenPercent)
                continue;
            String candidate = PictureVariantPath(path, variant.suffix);
            if (files.Exists(candidate))
                return SplashPicture{candidate, variant.percent};
        }
    }
    return SplashPicture{path, 100};
}
