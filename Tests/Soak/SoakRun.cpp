#include "Soak/SoakRun.h"

#include "Core/Containers/Map.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "HeadlessEditor/HeadlessEditor.h"
#include "RivetCli/Session/ScopedPackageRelease.h"
#include "RivetEditorModuleName.h"
#include "Soak/SoakActions.h"
#include "Soak/SoakChecks.h"
#include "Support/TestFiles.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <cstdio>
#include <memory>

namespace
{
/** How far a remesh may grow LOD 0, as a multiple of its triangles at the start. */
constexpr int32 MaxGrowth = 16;
/** Undo steps whose states are kept for comparison; older ones are only counted. */
constexpr int32 KeptStates = 24;
/** Warnings that come with a result rather than instead of one. */
const TArray<FString> WarningsAfterSuccess = {"LODsRemoved", "PhysicsShapesSkipped", "SkeletonSockets",
                                              "AnimSkipped", "LodWarning"};
/** Failures of a detach after the new asset was made, which say what was changed. */
const TArray<FString> FailuresAfterChange = {"CopyDeleteFailed", "SlotCleanupFailed", "SourceDeleteFailed"};
/** The slot clean-up's refusals, which follow the commit of the merged polygons when a slot is deleted. */
const TArray<FString> CleanupRefusals = {"NoTriangles", "WouldAddSlots", "InconsistentBindings"};

int32 CountUndoSteps()
{
    return FTransactionBuffer::Get().GetUndoTitles().Num();
}

int32 CountTriangles(const USkeletalMesh& Mesh)
{
    const FMeshDescription* LOD0 = Mesh.GetMeshDescription(0);
    return LOD0 ? LOD0->Triangles().Num() : 0;
}

/** A state the undo history can return to, and the step that left it (0 for the opened asset). */
struct FKeptState
{
    std::shared_ptr<const FSoakState> State;
    int32 Step = 0;
};

class FSoakRun
{
public:
    FSoakRun(const FSoakAssetKind& InKind, const FSoakSettings& InSettings)
        : Kind(InKind),
          Settings(InSettings), Context{Editor, InKind.Make(Folder), std::mt19937(InSettings.Seed)}
    {
        if (!Context.Asset.Mesh)
        {
            Findings.Add("the asset could not be made");
            return;
        }
        Editor.OpenAsset(Context.Asset.Mesh);
        InitialTriangles = CountTriangles(*Context.Asset.Mesh);
        Context.MaxTriangles = MaxGrowth * InitialTriangles;
        Current = std::make_shared<const FSoakState>(Context.Asset);
        History.SetNum(CountUndoSteps() + 1);
        History.Last() = {Current, 0};
        CheckSoundness(Editor, Context.Asset, {}, Findings);
    }

    FString Run()
    {
        for (int32 Step = 1; Step <= Settings.Actions && Findings.IsEmpty(); ++Step)
        {
            TakeStep();
            if (Findings.IsEmpty() && Settings.SaveEvery > 0 && Step % Settings.SaveEvery == 0)
            {
                CheckFileRoundTrip(Context.Asset, Folder, Findings);
            }
            if (Settings.ProgressEvery > 0 && Step % Settings.ProgressEvery == 0)
            {
                std::printf("[soak] %s, seed %u: %d of %d steps\n", Kind.Name, Settings.Seed, Step,
                            Settings.Actions);
                std::fflush(stdout);
            }
        }
        if (Settings.ProgressEvery > 0)
        {
            PrintOutcomes();
        }
        return Findings.IsEmpty() ? FString() : Report();
    }

private:
    void TakeStep()
    {
        const int32 MessagesBefore = Editor.GetMessages().Num();
        const FSoakStep Step = NextStep();
        Steps.Add(Step.Text.IsEmpty() ? FString("# nothing to do") : Step.Text);
        for (int32 Undo = 0; Undo < Step.Undos && Cursor() > 0 && Findings.IsEmpty(); ++Undo)
        {
            Travel(Editor.Undo(), Cursor() - 1, "undo");
        }
        for (int32 Redo = 0; Redo < Step.Redos && Redoable > 0 && Findings.IsEmpty(); ++Redo)
        {
            Travel(Editor.Redo(), Cursor() + 1, "redo");
        }
        if (Step.Undos == 0 && Step.Redos == 0)
        {
            CheckEdit(Step, MessagesBefore);
        }
    }

    /**
     * A random action; but once the asset has lost three quarters of its triangles or grown fourfold, the
     * user cancels the tool and undoes everything, so that the run keeps an asset worth editing.
     */
    FSoakStep NextStep()
    {
        const int32 Triangles = CountTriangles(*Context.Asset.Mesh);
        if ((Triangles * 4 >= InitialTriangles && Triangles <= InitialTriangles * 4) || Cursor() == 0)
        {
            return TakeRandomAction(Context);
        }
        if (Editor.GetActiveTool())
        {
            Editor.CancelTool();
            return {"cancel"};
        }
        return {FString::Printf("undo %d", Cursor()), Cursor(), 0};
    }

    int32 Cursor() const { return History.Num() - 1 - Redoable; }

    /** After an undo or redo: the history moved one step, to exactly the state kept there. */
    void Travel(bool bDone, int32 Target, const char* What)
    {
        if (!bDone)
        {
            Findings.Add(
                FString::Printf("%s was refused though the history had a step for it (to %d)", What, Target));
            return;
        }
        ++(Target < Cursor() ? Undone : Redone);
        Redoable += Target < Cursor() ? 1 : -1;
        auto After = std::make_shared<const FSoakState>(Context.Asset);
        if (CountUndoSteps() != Target)
        {
            Findings.Add(FString::Printf("%s left %d undo steps, not %d", What, CountUndoSteps(), Target));
        }
        const FKeptState& Kept = History[Target];
        if (Kept.State && !(*Kept.State == *After))
        {
            Findings.Add(FString::Printf("%s did not give back the state after step %d: %s differ", What,
                                         Kept.Step, *DescribeDifferences(*Kept.State, *After)));
        }
        MoveTo(After);
    }

    /** After any other step: a refusal changed nothing, and every change is one new undo step. */
    void CheckEdit(const FSoakStep& Step, int32 MessagesBefore)
    {
        auto After = std::make_shared<const FSoakState>(Context.Asset);
        const bool bChanged = !(*After == *Current);
        const FString Refusal = FindRefusal(Step, MessagesBefore);
        if (bChanged && !Refusal.IsEmpty())
        {
            Findings.Add("the refusal \"" + Refusal + "\" changed " + DescribeDifferences(*Current, *After));
        }
        const int32 UndoSteps = CountUndoSteps();
        if (UndoSteps == Cursor() && bChanged)
        {
            Findings.Add("the step changed " + DescribeDifferences(*Current, *After) +
                         " outside the undo history");
        }
        else if (UndoSteps < Cursor())
        {
            Findings.Add(FString::Printf("the undo history lost steps (%d, was %d)", UndoSteps, Cursor()));
        }
        else if (UndoSteps > Cursor())
        {
            History.SetNum(Cursor() + 1);
            Redoable = 0;
            History.SetNum(UndoSteps + 1);
            History.Last() = {After, Steps.Num()};
            for (int32 Index = 1; Index < History.Num() - KeptStates; ++Index)
            {
                History[Index].State.reset();
            }
        }
        MoveTo(After);
    }

    /** The step's state becomes the current one, once it and every skeletal mesh the step made are sound. */
    void MoveTo(const std::shared_ptr<const FSoakState>& After)
    {
        CheckSoundness(Editor, Context.Asset, Current->SkeletalMeshes, Findings);
        Current = After;
    }

    /**
     * Counts the step's messages, and returns its first refusal: empty when there is none, or when a part of
     * the step succeeded (accepting the slot tool assigns, then writes the preview's edits back).
     */
    FString FindRefusal(const FSoakStep& Step, int32 MessagesBefore)
    {
        const TArray<FText> UndoTitles = FTransactionBuffer::Get().GetUndoTitles();
        bool bSucceeded = false;
        for (int32 Index = Cursor(); Index < UndoTitles.Num(); ++Index)
        {
            bSucceeded |= UndoTitles[Index].GetKey() == "EditSelectionTransaction";
        }
        FString Refusal;
        const TArray<FToolMessage>& Messages = Editor.GetMessages();
        for (int32 Index = MessagesBefore; Index < Messages.Num(); ++Index)
        {
            const FToolMessage& Message = Messages[Index];
            const FString& Key = Message.Text.GetKey();
            if (Key != "ToolStartup")
            {
                ++Outcomes.FindOrAdd(Key);
                bSucceeded |= Message.Level == EToolMessageLevel::UserNotification;
            }
            const bool bChangedFirst = FailuresAfterChange.Contains(Key) ||
                                       (CleanupRefusals.Contains(Key) && Step.Text == "press DeleteSlotNow");
            if (Refusal.IsEmpty() && Message.Level >= EToolMessageLevel::UserWarning &&
                !WarningsAfterSuccess.Contains(Key) && !bChangedFirst)
            {
                Refusal = Key + ": " + Message.Text.ToString();
            }
        }
        return bSucceeded ? FString() : Refusal;
    }

    /** How often each result and refusal was seen, so that a long run shows what it exercised. */
    void PrintOutcomes() const
    {
        FString Text;
        for (const auto& [Key, Count] : Outcomes)
        {
            Text += FString::Printf(" %s %d", *Key, Count);
        }
        std::printf("[soak] %s, seed %u: undo steps taken %d, redo steps %d; messages:%s\n", Kind.Name,
                    Settings.Seed, Undone, Redone, *Text);
    }

    FString Report() const
    {
        FString Text = FString::Printf("soak finding on the %s, seed %u, step %d:\n", Kind.Name,
                                       Settings.Seed, Steps.Num());
        for (const FString& Finding : Findings)
        {
            Text += "  " + Finding + "\n";
        }
        Text += FString::Printf("replay: bash scripts/soak %d %u %s\nsteps:\n", Steps.Num(), Settings.Seed,
                                Kind.Id);
        for (int32 Index = 0; Index < Steps.Num(); ++Index)
        {
            Text += FString::Printf("  %d: %s\n", Index + 1, *Steps[Index]);
        }
        return Text;
    }

    const FSoakAssetKind& Kind;
    FSoakSettings Settings;
    FTestFolder Folder;
    FScopedPackageRelease Packages;
    FHeadlessEditor Editor{{RivetEditorModuleName}};
    FSoakContext Context;
    int32 InitialTriangles = 0;
    /** Entry i is the state with i steps in the undo history; the last Redoable entries are undone. */
    TArray<FKeptState> History;
    int32 Redoable = 0;
    std::shared_ptr<const FSoakState> Current;
    TArray<FString> Steps;
    TArray<FString> Findings;
    TMap<FString, int32> Outcomes;
    int32 Undone = 0;
    int32 Redone = 0;
};
} // namespace

FString RunSoak(const FSoakAssetKind& Kind, const FSoakSettings& Settings)
{
    return FSoakRun(Kind, Settings).Run();
}
