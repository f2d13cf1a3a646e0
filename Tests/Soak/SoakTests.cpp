#include "Core/Containers/Map.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "HeadlessEditor/HeadlessEditor.h"
#include "Interchange/Interchange.h"
#include "RivetCli/Demo/DemoCharacter.h"
#include "RivetCli/Session/ScopedPackageRelease.h"
#include "RivetEditorModuleName.h"
#include "Soak/SoakActions.h"
#include "Soak/SoakChecks.h"
#include "Support/TestFiles.h"
#include "Support/TestSkeletalAsset.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>

namespace
{
/** One of the assets the soak runs on: a one-word id (for test names and replays), a name, how it is made. */
struct FSoakAssetKind
{
    const char* Id;
    const char* Name;
    FSoakAsset (*Make)(const FTestFolder& Folder);
};

/** How long a soak runs, how often it saves and reads back, and how often it prints progress (0: never). */
struct FSoakSettings
{
    int32 Actions = 100;
    uint32 Seed = 1;
    int32 SaveEvery = 25;
    int32 ProgressEvery = 0;
};

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

/**
 * Opens an asset of the kind in a headless editor and takes random user actions on it, checking every
 * step (see README, "Reliability and security"). Stops at the first step with a finding and reports it
 * with the seed and the steps that take it again.
 */
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

FSoakAsset MakeTestCharacter(const FTestFolder&)
{
    const FTestSkeletalAsset Asset = BuildTestSkeletalAsset({.PackageName = "/Game/Soak/TestCharacter"});
    return {Asset.Mesh, {Asset.Animation}};
}

FSoakAsset MakeDemoCharacter(const FTestFolder&)
{
    const FDemoCharacter Demo = BuildDemoCharacter("/Game/Soak/Demo");
    return {Demo.Mesh, Demo.Animations};
}

/**
 * A larger test character with two LODs and an empty slot, written as glTF and read back; its morph targets
 * have no normal deltas, so that the remesh tool works on it.
 */
FSoakAsset MakeGltfCharacter(const FTestFolder& Folder)
{
    const FTestSkeletalAsset Written = BuildTestSkeletalAsset(
        {.PackageName = "/Game/Soak/Written", .QuadsX = 10, .QuadsY = 8, .bEmptySlot = true, .NumLODs = 2,
         .bMorphNormals = false});
    FGltfExportOptions Options;
    Options.Animations.Add(Written.Animation);
    const FString Path = Folder.File("soak-character.glb");
    if (!ExportSkeletalMeshToGltf(*Written.Mesh, Path, Options).bSuccess)
    {
        return {};
    }
    const FInterchangeResult Read = ImportSkinnedMeshFile(Path);
    return Read.bSuccess ? FSoakAsset{Read.Mesh, Read.Animations} : FSoakAsset{};
}

const FSoakAssetKind SoakAssetKinds[] = {
    {"TestCharacter", "test character", MakeTestCharacter},
    {"DemoCharacter", "demo character", MakeDemoCharacter},
    {"GltfCharacter", "glTF character", MakeGltfCharacter},
};

/** A setting from the environment (scripts/soak sets them for long runs), or the test suite's default. */
std::string Setting(const char* Name, const char* Default)
{
    const char* Value = std::getenv(Name);
    return Value && *Value ? Value : Default;
}

using Soak = testing::TestWithParam<FSoakAssetKind>;

/** Test lists show an asset kind by its name. */
void PrintTo(const FSoakAssetKind& Kind, std::ostream* Out)
{
    *Out << Kind.Id;
}
} // namespace

// Random user actions on each asset, for each seed of RIVET_SOAK_SEEDS (a list, default 1), each run
// RIVET_SOAK_ACTIONS steps long (default 120), saving and reading back every RIVET_SOAK_SAVE_EVERY steps.
TEST_P(Soak, RandomUserActionsKeepTheAssetSoundAndEveryUndoExact)
{
    FSoakSettings Settings;
    Settings.Actions = std::stoi(Setting("RIVET_SOAK_ACTIONS", "120"));
    Settings.SaveEvery = std::stoi(Setting("RIVET_SOAK_SAVE_EVERY", "25"));
    Settings.ProgressEvery = Settings.Actions >= 2000 ? 1000 : 0;
    std::istringstream Seeds(Setting("RIVET_SOAK_SEEDS", "1"));
    for (std::string Seed; std::getline(Seeds, Seed, ',');)
    {
        Settings.Seed = static_cast<uint32>(std::stoul(Seed));
        const FString Report = FSoakRun(GetParam(), Settings).Run();
        EXPECT_TRUE(Report.IsEmpty()) << *Report;
    }
}

INSTANTIATE_TEST_SUITE_P(Assets, Soak, testing::ValuesIn(SoakAssetKinds),
                         [](const testing::TestParamInfo<FSoakAssetKind>& Info) { return Info.param.Id; });
