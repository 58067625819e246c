#pragma once

#include "base/Text.h"

// Splash decisions that need no system call.

// Where a picture of size starts on a screen of screenSize so that it is
// centred: the halves are signed integer divisions that truncate toward
// zero, so a picture wider than the screen may start left of it.
inline int CentredOrigin(int screenSize, int size) { return (screenSize - size) / 2; }

// "Splash Screen Shadow": exactly "true" gives the drop shadow.
inline bool WantsSplashShadow(const String& setting) { return setting.Equals(L"true"); }

// Where a runtime keeps its splash library: the JVM library's path without
// its last two components (home\bin\server\jvm.dll -> home\bin), then
// "\splashscreen.dll". Empty when nothing of the path remains.
String NativeSplashLibraryCandidate(const String& jvmLibraryPath);

// The screen's scale in percent for its pixels per inch (96 is 100 %),
// rounded to the nearest whole percent.
int ScalePercent(int dpi);

// path with suffix put before the extension of its last component
// ("pics\splash.png" + "@2x" -> "pics\splash@2x.png"); at the end when that
// component has no extension.
String PictureVariantPath(const String& path, const wchar_t* suffix);

// Answers whether a file exists; the variants of a picture are looked up
// through it.
class FileProbe {
public:
    virtual bool Exists(const String& path) const = 0;

protected:
    ~FileProbe() = default;
};

// The picture a splash shows on a screen of screenPercent, and the scale it
// was drawn for (100 for the plain picture, which is then scaled up).
struct SplashPicture {
    String path;
    int percent;
};

// A high-resolution variant beside the picture ("name@150pct.png",
// "name@2x.png", ...) made for the screen's scale; when there is none, the
// one for the nearest larger scale; when there is none either, or the screen
// is not scaled up, the plain picture.
SplashPicture ChooseSplashPicture(const String& path, int screenPercent, const FileProbe& files);
