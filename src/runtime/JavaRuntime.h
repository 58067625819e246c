#pragma once

#include "base/List.h"
#include "base/Text.h"
#include "runtime/Version.h"

// One runtime found in the registry during a search pass.
struct JavaRuntime {
    JavaVersion version;    // from the version subkey name, missing groups 0
    String home;            // runtime home, always ending in a backslash
    bool isServer = false;  // the library found for it is a "bin\server\" one
    bool favored = false;   // the vendor key it came from is favoured
};

using RuntimeList = List<JavaRuntime>;
