#pragma once

#include "base/Text.h"

// The full path of the runtime's "splashscreen.dll" beside the JVM library's
// bin folder when that file exists; empty otherwise.
String FindNativeSplashLibrary(const String& jvmLibraryPath);
