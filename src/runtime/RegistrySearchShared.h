#pragma once

#include "core/LauncherApp.h"
#include "runtime/VendorKeys.h"

// What the two registry groups' searches share.

// Read access to the keys of a registry view.
REGSAM AccessFor(RegistryView view);
// The "JVM Source" and "VM Provider" flags of the launch.
RuntimeFilter FilterOf(const LauncherApp& app);
