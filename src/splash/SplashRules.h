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
