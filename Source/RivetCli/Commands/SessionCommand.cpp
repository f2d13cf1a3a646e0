#include "RivetCli/Commands/SessionCommand.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/Console/SlowTaskProgressBar.h"
#include "RivetCli/Reports/AssetReport.h"
#include "RivetCli/Reports/EditorPictures.h"
#include "RivetCli/RivetCommandLine.h"
#include "RivetCli/Session/EditSession.h"
#include "RivetCli/Session/OutputFiles.h"

#include <optional>

namespace
{
/** Whether the step may change the asset: the last moment to draw it as it was comes before it. */
bool MayChangeAsset(EEditStepKind Kind)
{
    switch (Kind)
    {
        case EEditStepKind::Press:
        case EEditStepKind::Tick:
        case EEditStepKind::Accept:
        case EEditStepKind::Cancel:
        case EEditStepKind::Undo:
        case EEditStepKind::Redo:
            return true;
        default:
            return false;
    }
}

/** The steps from First up to (not including) Last. */
TArray<FEditStep> StepRange(const TArray<FEditStep>& Steps, int32 First, int32 Last)
{
    TArray<FEditStep> Range;
    for (int32 Index = First; Index < Last; ++Index)
    {
        Range.Add(Steps[Index]);
    }
    return Range;
}

/** The steps, with the before picture drawn just before the first that may change the asset. */
bool RunStepsWithBefore(FEditSession& Session, const TArray<FEditStep>& Steps, FBeforeAfterPictures* Pictures,
                        const FString& Name, FRivetConsole& Console)
{
    int32 Split = 0;
    while (Split < Steps.Num() && (!Pictures || !MayChangeAsset(Steps[Split].Kind)))
    {
        ++Split;
    }
    if (!Session.RunAll(StepRange(Steps, 0, Split)))
    {
        return false;
    }
    FString Error;
    if (Pictures && !Pictures->CaptureBefore(Session.GetEditor(), Name, Error))
    {
        Console.Warning(FString::Printf("no before picture: %s", *Error));
    }
    return Session.RunAll(StepRange(Steps, Split, Steps.Num()));
}

/** The name the pictures give the asset: the stem of the file opened first. */
FString PictureName(const TArray<FEditStep>& Steps)
{
    return !Steps.IsEmpty() && Steps[0].Kind == EEditStepKind::Open && !Steps[0].Arguments.IsEmpty()
               ? GetPathStem(Steps[0].Arguments[0])
               : FString("asset");
}

void WritePictures(FEditSession& Session, FBeforeAfterPictures& Pictures, const FSnapshotRequest& Request,
                   const FString& Name, FRivetConsole& Console, FEditSessionOutcome& Outcome)
{
    FString Error;
    if (!Pictures.CaptureAfter(Session.GetEditor(), Name, Error) ||
        !Pictures.Write(Request.Folder, Outcome.SnapshotFiles, Error))
    {
        Console.Warning(FString::Printf("no before and after pictures: %s", *Error));
        return;
    }
    Console.Print(FString::Printf("pictures: %s", *FString::Join(Outcome.SnapshotFiles, ", ")));
    for (const FString& File : Outcome.SnapshotFiles)
    {
        Console.Json()["pictures"].push_back(*File);
    }
}

TArray<FString> ListToolMessages(FEditSession& Session)
{
    TArray<FString> Messages;
    for (const FToolMessage& Message : Session.GetEditor().GetMessages())
    {
        if (Message.Level != EToolMessageLevel::Internal)
        {
            Messages.Add(
                FString::Printf("%s: %s", ToolMessageLevelName(Message.Level), *Message.Text.ToString()));
        }
    }
    return Messages;
}
} // namespace

int GetSessionExitCode(const FEditSession& Session, bool bStepsDone, bool bSaved)
{
    if (!bStepsDone || !bSaved)
    {
        return static_cast<int>(ERivetExitCode::BadInput);
    }
    return static_cast<int>(Session.HasToolRefused() ? ERivetExitCode::ToolRefused : ERivetExitCode::Success);
}

FEditSessionOutcome RunEditSession(FRivetConsole& Console, const TArray<FEditStep>& Steps,
                                   const FSaveOptions& Save, const FSnapshotRequest* Snapshot)
{
    const FSlowTaskProgressBar Progress(Console);
    FEditSession Session(Console, Save);
    std::optional<FBeforeAfterPictures> Pictures;
    if (Snapshot)
    {
        Pictures.emplace(Snapshot->Options);
    }
    const FString Name = PictureName(Steps);
    const bool bStepsDone =
        RunStepsWithBefore(Session, Steps, Pictures ? &*Pictures : nullptr, Name, Console);
    const bool bSaved = bStepsDone && Session.SaveChanged();
    if (const USkeletalMesh* Mesh = Session.GetEditor().GetAsset())
    {
        Console.Json()["asset"] = DescribeAsset(*Mesh, Session.GetAnimations());
    }
    FEditSessionOutcome Outcome{GetSessionExitCode(Session, bStepsDone, bSaved), Session.GetSavedFiles()};
    if (Pictures && bStepsDone)
    {
        WritePictures(Session, *Pictures, *Snapshot, Name, Console, Outcome);
    }
    Outcome.ToolMessages = ListToolMessages(Session);
    return Outcome;
}
