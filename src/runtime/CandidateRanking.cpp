#include "runtime/CandidateRanking.h"

bool RanksBefore(const JavaRuntime& b, const JavaRuntime& a, const RankingRules& rules)
{
    if (rules.favoredFirst && b.favored != a.favored)
        return b.favored;
    if (rules.serverFirst && b.isServer != a.isServer)
        return b.isServer;
    return CompareVersions(b.version, a.version) > 0;
}

void SortRuntimes(RuntimeList& list, const RankingRules& rules)
{
    // Insertion by adjacent exchange: an element only moves past neighbours
    // it strictly ranks before, which keeps ties in their original order.
    for (int i = 1; i < list.Count(); ++i)
        for (int j = i; j > 0 && RanksBefore(list[j], list[j - 1], rules); --j)
            list.Swap(j, j - 1);
}

int ChooseRuntime(const RuntimeList& sorted, const StringList& preferredVersions)
{
    if (sorted.IsEmpty())
        return -1;
    for (const String& text : preferredVersions) {
        // A text without digits parses as 0.0.0.0, which every runtime matches.
        JavaVersion preferred;
        ParseVersion(text, 0, preferred);
        for (int i = 0; i < sorted.Count(); ++i)
            if (MatchesPreferred(sorted[i].version, preferred))
                return i;
    }
    return 0;
}

bool IsInVersionWindow(const JavaVersion& version, const JavaVersion& minimum, const JavaVersion& maximum)
{
    if (maximum.count != 0 && CompareVersions(version, maximum) > 0)
        return false;
    return CompareVersions(version, minimum) >= 0;
}

bool PredatesModules(const JavaVersion& version)
{
    if (version.count == 0)
        return false;
    int32_t major = version.component[0] == 1 ? version.component[1] : version.component[0];
    return major < 9;
}
