#include "runtime/RuntimeFitness.h"

#include "base/ResourceText.h"
#include "res/resource.h"
#include "runtime/CandidateRanking.h"

RuntimeFitness JudgeRuntime(const RuntimeFacts& facts, const RuntimeNeeds& needs)
{
    if (facts.versionKnown && !IsInVersionWindow(facts.version, needs.minimum, needs.maximum))
        return RuntimeFitness::OutsideVersionWindow;
    if (facts.machine != 0 && facts.machine != needs.launcherMachine && !needs.canHandOver)
        return RuntimeFitness::OtherMachine;
    return RuntimeFitness::Usable;
}

String DescribeUnfitRuntime(RuntimeFitness fitness, const RuntimeFacts& facts, const RuntimeNeeds& needs)
{
    switch (fitness) {
    case RuntimeFitness::OutsideVersionWindow:
        return FormatText(TextId(IDS_RUNTIME_OUTSIDE_WINDOW), FormatVersion(facts.version).CStr(),
                          BuildRequirementText(needs.minimum, needs.maximum).CStr());
    case RuntimeFitness::OtherMachine:
        return FormatText(TextId(IDS_RUNTIME_OTHER_MACHINE), static_cast<int>(sizeof(void*) * 8));
    case RuntimeFitness::Usable:
        break;
    }
    return String();
}
