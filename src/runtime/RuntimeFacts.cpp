#include "core/LauncherApp.h"
#include "runtime/PeImageView.h"
#include "runtime/ReleaseFile.h"
#include "runtime/RuntimeFitness.h"

RuntimeNeeds RuntimeNeedsOf(const LauncherApp& app)
{
    RuntimeNeeds needs;
    needs.minimum = app.m_versionRequirement.minimum;
    needs.maximum = app.m_versionRequirement.maximum;
    needs.launcherMachine = kLauncherMachine;
    // A launcher started by a hand-over never hands over again.
    needs.canHandOver = !app.m_pairProduct.IsEmpty() && !app.m_startedByHandOver;
    return needs;
}

RuntimeFacts ReadRuntimeFacts(const String& home, const String& library)
{
    RuntimeFacts facts;
    facts.versionKnown = ReadReleaseVersion(home, facts.version);
    PeImageView image(library);
    facts.machine = image.IsValid() ? image.Machine() : 0;
    return facts;
}
