#include "RivetCli/Commands/SessionCommand.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/Console/SlowTaskProgressBar.h"
#include "RivetCli/Reports/AssetReport.h"
#include "RivetCli/RivetCommandLine.h"
#include "RivetCli/Session/EditSession.h"

int GetSessionExitCode(const FEditSession& Session, bool bStepsDone, bool bSaved)
{
    if (!bStepsDone || !bSaved)
    {
        return static_cast<int>(ERivetExitCode::BadInput);
    }
    return static_cast<int>(Session.HasToolRefused() ? ERivetExitCode::ToolRefused : ERivetExitCode::Success);
}

FEditSessionOutcome RunEditSession(FRivetConsole& Console, const TArray<FEditStep>& Steps,
                                   const FSaveOptions& Save)
{
    const FSlowTaskProgressBar Progress(Console);
    FEditSession Session(Console, Save);
    const bool bStepsDone = Session.RunAll(Steps);
    const bool bSaved = bStepsDone && Session.SaveChanged();
    if (const USkeletalMesh* Mesh = Session.GetEditor().GetAsset())
    {
        Console.Json()["asset"] = DescribeAsset(*Mesh, Session.GetAnimations());
    }
    return {GetSessionExitCode(Session, bStepsDone, bSaved), Session.GetSavedFiles()};
}
