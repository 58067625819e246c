#pragma once

#include "base/Text.h"
#include "runtime/Version.h"

#include <stdint.h>

// Whether a runtime that the user named (a folder picked in the
// runtime-not-found dialog, or the "JRE Path" stored from it) can serve this
// launch. A JVM library alone is not enough: a runtime outside the version
// window, or one this launcher can neither load nor hand over, would fail on
// every start. No Windows calls here.

enum class RuntimeFitness { Usable, OutsideVersionWindow, OtherMachine };

// What the launch asks of a runtime. The defaults ask nothing.
struct RuntimeNeeds {
    JavaVersion minimum;            // all zero: no lower bound
    JavaVersion maximum;            // count 0: no upper bound
    uint16_t launcherMachine = 0;   // the machine type this launcher loads
    bool canHandOver = true;        // a runtime of another machine type goes to the pair
};

// What could be learnt of a runtime on disk.
struct RuntimeFacts {
    bool versionKnown = false;  // its release file names a version
    JavaVersion version;
    uint16_t machine = 0;       // its JVM library's machine type; 0 when not recognised
};

// A runtime whose version or machine type cannot be told is left to the
// library load, which reports its own failure.
RuntimeFitness JudgeRuntime(const RuntimeFacts& facts, const RuntimeNeeds& needs);

// The runtime-not-found dialog's message line for a runtime that is not
// usable: its version and the versions needed, or that this launcher cannot
// load it. Empty for a usable one.
String DescribeUnfitRuntime(RuntimeFitness fitness, const RuntimeFacts& facts, const RuntimeNeeds& needs);

class LauncherApp;

// The needs of this launch: the version window of the settings, this
// launcher's machine type, and whether a paired launcher can take over (one
// is named, and this launcher was not itself started by a hand-over).
RuntimeNeeds RuntimeNeedsOf(const LauncherApp& app);

// The release file's version under home (ending in "\") and the machine type
// of library.
RuntimeFacts ReadRuntimeFacts(const String& home, const String& library);
