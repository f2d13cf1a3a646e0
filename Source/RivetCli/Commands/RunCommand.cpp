#include "RivetCli/Commands/RivetCommands.h"
#include "RivetCli/Commands/SessionCommand.h"
#include "RivetCli/Session/EditStep.h"

namespace
{
void AddSteps(TArray<FEditStep>& Steps, EEditStepKind Kind, const TArray<FString>& Arguments)
{
    for (const FString& Argument : Arguments)
    {
        Steps.Add({Kind, {Argument}});
    }
}

/**
 * The user's steps in the order a user takes them: open, start, paint, set, pick and edit bones, press,
 * end, undo.
 */
TArray<FEditStep> MakeRunSteps(const FRunArguments& Arguments)
{
    TArray<FEditStep> Steps;
    Steps.Add({EEditStepKind::Open, Arguments.Files});
    Steps.Add({EEditStepKind::Tool, {Arguments.Tool}});
    if (!Arguments.Selections.IsEmpty())
    {
        Steps.Add({EEditStepKind::Select, Arguments.Selections});
    }
    // Panel edits come before bones edited by hand: an edit of the Bake Bone Transform panel re-applies
    // the panel to the bone it names, which would overwrite a hand edit of that bone.
    AddSteps(Steps, EEditStepKind::Set, Arguments.Assignments);
    AddSteps(Steps, EEditStepKind::Bone, Arguments.Bones);
    AddSteps(Steps, EEditStepKind::BoneEdit, Arguments.BoneEdits);
    AddSteps(Steps, EEditStepKind::Press, Arguments.Buttons);
    if (Arguments.bAccept || Arguments.bCancel || Arguments.bUndo)
    {
        // Undo works on the editor's history, so a tool still running is ended first: cancelled unless
        // the user asked to accept it.
        Steps.Add({Arguments.bAccept ? EEditStepKind::Accept : EEditStepKind::Cancel});
    }
    if (Arguments.bUndo)
    {
        Steps.Add({EEditStepKind::Undo});
    }
    return Steps;
}
} // namespace

int RunRunCommand(FRivetConsole& Console, const FRunArguments& Arguments)
{
    const FSnapshotRequest Snapshot{Arguments.SnapshotFolder};
    return RunEditSession(Console, MakeRunSteps(Arguments), Arguments.Save,
                          Arguments.SnapshotFolder.IsEmpty() ? nullptr : &Snapshot)
        .ExitCode;
}
