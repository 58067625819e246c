#pragma once

#include "base/Trace.h"
#include "core/LauncherApp.h"
#include "runtime/JavaRuntime.h"
#include "runtime/VendorKeys.h"

// Trace lines of the runtime search (base/Trace.h has the writer). Called
// only while tracing is on.

// All four components: "1.8.0.201".
String VersionText(const JavaVersion& version);
const wchar_t* RegistryViewName(RegistryView view);
const wchar_t* JvmTypeName(JvmType type);
const wchar_t* MachineName(WORD machine);

// The settings values that decide which runtime is taken.
void TraceRuntimeSettings(const LauncherApp& app);
// The vendor keys that "JVM Source" or "VM Provider" leave out, and why.
void TraceVendorKeysNotSearched(const RuntimeFilter& filter);
// The registry candidates in ranked order and which of them is taken.
void TraceCandidateChoice(const RuntimeList& sorted, int chosen, const StringList& preferredVersions);
