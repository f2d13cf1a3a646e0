#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "HeadlessEditor/HeadlessEditor.h"
#include "Interchange/Interchange.h"
#include "MeshDescription/MeshDescription.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "RivetCli/Commands/RivetCommands.h"
#include "RivetCli/Commands/SessionCommand.h"
#include "RivetCli/Console/ProgressIndicator.h"
#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/Demo/DemoCharacter.h"
#include "RivetCli/Demo/DemoPictures.h"
#include "RivetCli/Demo/DemoMorphs.h"
#include "RivetCli/Demo/DemoScenarios.h"
#include "RivetCli/Reports/AssetReport.h"
#include "RivetCli/Reports/DemoPage.h"
#include "RivetCli/RivetCommandLine.h"
#include "RivetCli/Session/ScopedPackageRelease.h"
#include "RivetEditorModuleName.h"
#include "SkeletalMeshModelingMode/SkeletalMeshModelingMode.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <tuple>

namespace
{
const char* const CharacterName = "RivetDemoCharacter";

struct FModeTool
{
    FString Name;
    bool bAvailable = false;
};

/** The tools of the modeling mode, in its order, and whether this build has each. */
TArray<FModeTool> ListModeTools()
{
    FHeadlessEditor Editor{{RivetEditorModuleName}};
    TArray<FModeTool> Tools;
    for (const FModelingModeToolSection& Section :
         FSkeletalMeshModelingMode::QueryToolSections(/*bInfoOnly=*/false))
    {
        for (const FExtensionToolDescription& Tool : Section.Tools)
        {
            Tools.Add({Tool.ToolName.ToString(), Tool.ToolBuilder != nullptr});
        }
    }
    return Tools;
}

FString DescribeLODTriangles(const USkeletalMesh& Mesh)
{
    TArray<FString> Counts;
    for (int32 LOD = 0; LOD < Mesh.GetLODNum(); ++LOD)
    {
        const FMeshDescription* Description = Mesh.GetMeshDescription(LOD);
        Counts.Add(FString::Printf("LOD %d %d", LOD, Description ? Description->Triangles().Num() : 0));
    }
    return FString::Join(Counts, ", ");
}

/**
 * Builds the character and saves it, with bMorphPositionsOnly a copy whose morphs keep their position
 * deltas only; the file's path, or empty when it could not be written.
 */
FString SaveCharacter(FRivetConsole& Console, const FString& Folder, bool bMorphPositionsOnly = false)
{
    const FScopedPackageRelease CharacterPackage;
    const FString Name = FString(CharacterName) + (bMorphPositionsOnly ? "_MorphPositionsOnly" : "");
    const FDemoCharacter Character = BuildDemoCharacter(FString("/Game/Demo/") + Name);
    USkeletalMesh& Mesh = *Character.Mesh;
    if (bMorphPositionsOnly)
    {
        DropMorphNormalDeltas(Mesh);
    }
    Console.Print(FString::Printf(
        "built %s: %s triangles, %d material slots, %d bones, %d morph targets%s, "
        "%d sockets, %d physics bodies, %d animations",
        *Name, *DescribeLODTriangles(Mesh), Mesh.GetMaterials().Num(), Mesh.GetRefSkeleton().GetNum(),
        Mesh.GetMorphTargets().Num(), bMorphPositionsOnly ? " (position deltas only)" : "",
        Mesh.GetMeshOnlySocketList().Num(), Character.PhysicsAsset->SkeletalBodySetups.Num(),
        Character.Animations.Num()));
    const FString Path = FString((std::filesystem::path(*Folder) / (std::string(*Name) + ".glb")).string());
    FInterchangeWriteResult Result;
    {
        FProgressIndicator Progress(Console, FString::Printf("writing %s", *Path));
        Result = SavePackageToFile(*Character.Package, Path);
    }
    if (!Result.bSuccess)
    {
        Console.Error(Result.Error);
        return FString();
    }
    Console.Print(FString::Printf("saved %s", *Path));
    Console.Json()[bMorphPositionsOnly ? "characterMorphPositionsOnly" : "character"] = *Path;
    return Path;
}

using FPositionKey = std::tuple<float, float, float>;

std::set<FPositionKey> CollectPositions(const FMeshDescription& Mesh)
{
    std::set<FPositionKey> Positions;
    const auto Read = FSkeletalMeshAttributesShared(Mesh).GetVertexPositions();
    for (const FVertexID Vertex : Mesh.Vertices().GetElementIDs())
    {
        Positions.emplace(Read[Vertex].X, Read[Vertex].Y, Read[Vertex].Z);
    }
    return Positions;
}

/** Whether the LOD 0 skin weights sum to one at every vertex, and at the vertices the original lacks. */
void ReportSkinWeightSums(FRivetConsole& Console, const FMeshDescription& Result, const FMeshDescription& Original)
{
    const std::set<FPositionKey> OriginalPositions = CollectPositions(Original);
    const FSkeletalMeshAttributesShared Attributes(Result);
    const auto Positions = Attributes.GetVertexPositions();
    const auto Weights = Attributes.GetVertexSkinWeights();
    int32 New = 0;
    int32 NewSummingToOne = 0;
    int32 SummingToOne = 0;
    for (const FVertexID Vertex : Result.Vertices().GetElementIDs())
    {
        int32 Sum = 0;
        for (const FBoneWeight& Weight : Weights.Get(Vertex))
        {
            Sum += Weight.RawWeight;
        }
        const bool bOne = Sum == FBoneWeight::MaxRawWeight;
        const bool bNew = !OriginalPositions.contains({Positions[Vertex].X, Positions[Vertex].Y, Positions[Vertex].Z});
        SummingToOne += bOne;
        New += bNew;
        NewSummingToOne += bNew && bOne;
    }
    Console.Print(FString::Printf("  skin weights sum to one at %d of %d vertices, %d of the %d vertices new in "
                                  "the remeshed region",
                                  SummingToOne, Result.Vertices().Num(), NewSummingToOne, New));
    Console.Json()["skinWeights"] = {{"vertices", Result.Vertices().Num()},
                                     {"summingToOne", SummingToOne},
                                     {"newVertices", New},
                                     {"newSummingToOne", NewSummingToOne}};
}

/** "height 180.0, every bone's reference scale 1" (or the largest scale that is not 1). */
FString DescribeRestPose(const USkeletalMesh& Mesh)
{
    const FBox Bounds = Mesh.GetImportedBounds().GetBox();
    double WorstScale = 1.0;
    for (const FTransform& Bone : Mesh.GetRefSkeleton().GetRefBonePose())
    {
        const FVector& Scale = Bone.GetScale3D();
        for (const double Axis : {Scale.X, Scale.Y, Scale.Z})
        {
            WorstScale = std::abs(Axis - 1.0) > std::abs(WorstScale - 1.0) ? Axis : WorstScale;
        }
    }
    const double Height = Bounds.Max.Z - Bounds.Min.Z;
    return std::abs(WorstScale - 1.0) < 1e-4
               ? FString::Printf("height %.1f, every bone's reference scale 1", Height)
               : FString::Printf("height %.1f, a bone's reference scale is %.4f", Height, WorstScale);
}

/** What a demo step shows of the files it reads. */
struct FReportOptions
{
    bool bShowSlotTable = false;
    bool bShowRestPose = false;
    /** The file the scenario started from, to check the result's skin weights against; empty for none. */
    FString CheckWeightsAgainst;
};

/** Reads a file back, as a check that it holds what the tools made, and reports what it reads. */
void ReportFile(FRivetConsole& Console, const FString& Path, const FReportOptions& Options)
{
    const FScopedPackageRelease ReadPackages;
    const FInterchangeResult Result = ImportSkinnedMeshFile(Path);
    if (!Result.bSuccess)
    {
        Console.Error(Result.Error);
        return;
    }
    Console.Print(
        FString::Printf("  %s reads back with %s triangles", *Path, *DescribeLODTriangles(*Result.Mesh)));
    if (Options.bShowSlotTable)
    {
        PrintMaterialSlotTable(Console, *Result.Mesh);
    }
    if (Options.bShowRestPose)
    {
        Console.Print(FString::Printf("  %s", *DescribeRestPose(*Result.Mesh)));
    }
    if (!Options.CheckWeightsAgainst.IsEmpty())
    {
        const FInterchangeResult Original = ImportSkinnedMeshFile(Options.CheckWeightsAgainst);
        if (Original.bSuccess && Result.Mesh->GetMeshDescription(0) && Original.Mesh->GetMeshDescription(0))
        {
            ReportSkinWeightSums(Console, *Result.Mesh->GetMeshDescription(0), *Original.Mesh->GetMeshDescription(0));
        }
    }
}

FString MakeStepFolder(const FString& Folder, int32 Number, const FString& Tool)
{
    FString Slug = FString::Printf("%02d-", Number);
    const FString Lower = Tool.ToLower();
    for (const char Character : Lower.View())
    {
        Slug += Character == ' ' ? '-' : Character;
    }
    return FString((std::filesystem::path(*Folder) / *Slug).string());
}

/** A path as the page in Folder links to it. */
FString RelativeTo(const FString& Folder, const FString& Path)
{
    std::string Base = *Folder;
    while (Base.size() > 1 && Base.back() == '/')
    {
        Base.pop_back();
    }
    return FString(std::filesystem::path(*Path)
                       .lexically_normal()
                       .lexically_relative(std::filesystem::path(Base).lexically_normal())
                       .generic_string());
}

void AddPageFiles(const FString& Folder, const FEditSessionOutcome& Outcome, FDemoPageStep& Step)
{
    if (Outcome.SnapshotFiles.Num() == 2)
    {
        Step.BeforeImage = RelativeTo(Folder, Outcome.SnapshotFiles[0]);
        Step.AfterImage = RelativeTo(Folder, Outcome.SnapshotFiles[1]);
    }
    for (const FString& Saved : Outcome.SavedFiles)
    {
        Step.Files.Add(RelativeTo(Folder, Saved));
    }
    Step.Messages = Outcome.ToolMessages;
    Step.ExitCode = Outcome.ExitCode;
}

/** Writes the page; its path, or empty when it could not be written. */
FString WriteDemoPage(FRivetConsole& Console, const FString& Folder, const FString& CharacterFile,
                      const TArray<FDemoPageStep>& Steps)
{
    const FString Path = FString((std::filesystem::path(*Folder) / "index.html").string());
    std::ofstream File(*Path, std::ios::trunc);
    File << *BuildDemoPage(RelativeTo(Folder, CharacterFile), Steps);
    if (!File.flush())
    {
        Console.Error(FString::Printf("%s: cannot write the page", *Path));
        return FString();
    }
    return Path;
}

int RunScenario(FRivetConsole& Console, const FDemoScenario& Scenario, const FString& CharacterFile,
                const FString& StepFolder, FDemoPageStep& PageStep)
{
    const FReportOptions Report{Scenario.bShowSlotTables, Scenario.bShowRestPose,
                                Scenario.bCheckSkinWeights ? CharacterFile : FString()};
    if (Report.bShowSlotTable || Report.bShowRestPose)
    {
        ReportFile(Console, CharacterFile, Report);
    }
    TArray<FEditStep> Steps;
    Steps.Add({EEditStepKind::Open, {CharacterFile}});
    Steps.Add({EEditStepKind::Tool, {Scenario.Tool}});
    Steps.Append(Scenario.Steps);
    const FSnapshotRequest Snapshot{StepFolder, Scenario.Picture};
    const FEditSessionOutcome Outcome = RunEditSession(Console, Steps, {StepFolder, false}, &Snapshot);
    for (const FString& Saved : Outcome.SavedFiles)
    {
        ReportFile(Console, Saved, Report);
    }
    AddPageFiles(FString(std::filesystem::path(*StepFolder).parent_path().string()), Outcome, PageStep);
    return Outcome.ExitCode;
}
} // namespace

int RunDemoCommand(FRivetConsole& Console, const FString& OutputFolder)
{
    std::error_code Error;
    std::filesystem::create_directories(*OutputFolder, Error);
    if (Error)
    {
        Console.Error(
            FString::Printf("%s: cannot create the folder: %s", *OutputFolder, Error.message().c_str()));
        return static_cast<int>(ERivetExitCode::BadInput);
    }
    const FString CharacterFile = SaveCharacter(Console, OutputFolder);
    if (CharacterFile.IsEmpty())
    {
        return static_cast<int>(ERivetExitCode::BadInput);
    }

    TArray<FDemoScenario> Scenarios = GetDemoScenarios();
    ChooseDemoPictures(Scenarios);
    TArray<FDemoPageStep> PageSteps;
    FString MorphPositionsOnlyFile;
    int Status = static_cast<int>(ERivetExitCode::Success);
    int32 Number = 0;
    for (const FModeTool& Tool : ListModeTools())
    {
        const TArray<const FDemoScenario*> ToolScenarios = FindDemoScenarios(Scenarios, Tool.Name);
        if (!Tool.bAvailable || ToolScenarios.IsEmpty())
        {
            const char* Why = Tool.bAvailable ? "no demo step yet" : "not in this build yet";
            Console.Print(FString());
            Console.Print(FString::Printf("- %s: %s, skipped", *Tool.Name, Why));
            PageSteps.Add({Tool.Name, FString(), FString::Printf("%s, skipped", Why)});
            continue;
        }
        for (const FDemoScenario* Scenario : ToolScenarios)
        {
            ++Number;
            Console.Print(FString());
            Console.Print(FString::Printf("%d. %s: %s", Number, *Tool.Name, *Scenario->Purpose));
            FDemoPageStep& PageStep = PageSteps.Emplace_GetRef();
            PageStep.Tool = Tool.Name;
            PageStep.Purpose = Scenario->Purpose;
            if (Scenario->bMorphPositionsOnly && MorphPositionsOnlyFile.IsEmpty())
            {
                MorphPositionsOnlyFile = SaveCharacter(Console, OutputFolder, /*bMorphPositionsOnly=*/true);
            }
            const FString& StartFile = Scenario->bMorphPositionsOnly ? MorphPositionsOnlyFile : CharacterFile;
            const int StepStatus =
                StartFile.IsEmpty() ? static_cast<int>(ERivetExitCode::BadInput)
                                    : RunScenario(Console, *Scenario, StartFile,
                                                  MakeStepFolder(OutputFolder, Number, Tool.Name), PageStep);
            Console.Json()["steps"].push_back(
                {{"tool", *Tool.Name}, {"purpose", *Scenario->Purpose}, {"exitCode", StepStatus}});
            Status = std::max(Status, StepStatus);
        }
    }
    const FString Page = WriteDemoPage(Console, OutputFolder, CharacterFile, PageSteps);
    if (Page.IsEmpty())
    {
        Status = std::max(Status, static_cast<int>(ERivetExitCode::BadInput));
    }
    else
    {
        Console.Json()["page"] = *Page;
    }
    Console.Print(FString());
    Console.Print(FString::Printf("demo %s: %d scenarios run, results in %s%s",
                                  Status == 0 ? "finished" : "finished with problems", Number, *OutputFolder,
                                  Page.IsEmpty() ? "" : *FString::Printf(", report page %s", *Page)));
    return Status;
}
