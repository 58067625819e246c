#pragma once

#include "base/List.h"
#include "runtime/JavaRuntime.h"
#include "runtime/Version.h"

// Ordering and choice among registry runtimes. No Windows calls here.

struct RankingRules {
    bool favoredFirst = false;  // both kinds admitted: favoured runtimes lead
    bool serverFirst = false;   // favor_server: server VMs lead
};

// True when b belongs before a. The first rule that tells them apart decides:
// favoured first (if enabled), server VM first (if enabled), newer first.
bool RanksBefore(const JavaRuntime& b, const JavaRuntime& a, const RankingRules& rules);

// Stable: runtimes that no rule tells apart keep their collection order.
void SortRuntimes(RuntimeList& list, const RankingRules& rules);

// The runtime to use from a sorted list: for each preferred version text in
// order, the first runtime that matches it; when none matches, the first
// runtime. -1 for an empty list.
int ChooseRuntime(const RuntimeList& sorted, const StringList& preferredVersions);

// minimum <= version <= maximum. A maximum the parser could not read (no
// "Maximum Version", or a text without digits: count 0) sets no upper bound.
bool IsInVersionWindow(const JavaVersion& version, const JavaVersion& minimum, const JavaVersion& maximum);

// A version before 9 (1.8, 8.0.x ...), whose runtimes have no module system.
// 1.9 counts as 9, as early builds of 9 named themselves; a version that
// could not be read (count 0) does not count as older.
bool PredatesModules(const JavaVersion& version);
