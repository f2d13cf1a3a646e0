#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "HeadlessEditor/HeadlessEditor.h"
#include "Interchange/Interchange.h"
#include "MeshDescription/MeshDescription.h"
#include "RivetCli/Commands/RivetCommands.h"
#include "RivetCli/Commands/SessionCommand.h"
#include "RivetCli/Console/ProgressIndicator.h"
#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/Demo/DemoCharacter.h"
#include "RivetCli/Demo/DemoScenarios.h"
#include "RivetCli/Reports/AssetReport.h"
#include "RivetCli/RivetCommandLine.h"
#include "RivetCli/Session/ScopedPackageRelease.h"
#include "RivetEditorModuleName.h"
#include "SkeletalMeshModelingMode/SkeletalMeshModelingMode.h"

#include <filesystem>

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

/** Builds the character and saves it; the file's path, or empty when it could not be written. */
FString SaveCharacter(FRivetConsole& Console, const FString& Folder)
{
    const FScopedPackageRelease CharacterPackage;
    const FDemoCharacter Character = BuildDemoCharacter(FString("/Game/Demo/") + CharacterName);
    const USkeletalMesh& Mesh = *Character.Mesh;
    Console.Print(FString::Printf(
        "built %s: %s triangles, %d material slots, %d bones, %d morph targets, "
        "%d sockets, %d physics bodies, %d animations",
        CharacterName, *DescribeLODTriangles(Mesh), Mesh.GetMaterials().Num(), Mesh.GetRefSkeleton().GetNum(),
        Mesh.GetMorphTargets().Num(), Mesh.GetMeshOnlySocketList().Num(),
        Character.PhysicsAsset->SkeletalBodySetups.Num(), Character.Animations.Num()));
    const FString Path =
        FString((std::filesystem::path(*Folder) / (std::string(CharacterName) + ".glb")).string());
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
    Console.Json()["character"] = *Path;
    return Path;
}

/** Reads a file back, as a check that it holds what the tools made, and reports what it reads. */
void ReportFile(FRivetConsole& Console, const FString& Path, bool bShowSlotTable)
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
    if (bShowSlotTable)
    {
        PrintMaterialSlotTable(Console, *Result.Mesh);
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

int RunScenario(FRivetConsole& Console, const FDemoScenario& Scenario, const FString& CharacterFile,
                const FString& StepFolder)
{
    if (Scenario.bShowSlotTables)
    {
        ReportFile(Console, CharacterFile, /*bShowSlotTable=*/true);
    }
    TArray<FEditStep> Steps;
    Steps.Add({EEditStepKind::Open, {CharacterFile}});
    Steps.Add({EEditStepKind::Tool, {Scenario.Tool}});
    Steps.Append(Scenario.Steps);
    const FEditSessionOutcome Outcome = RunEditSession(Console, Steps, {StepFolder, false});
    for (const FString& Saved : Outcome.SavedFiles)
    {
        ReportFile(Console, Saved, Scenario.bShowSlotTables);
    }
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

    const TArray<FDemoScenario> Scenarios = GetDemoScenarios();
    int Status = static_cast<int>(ERivetExitCode::Success);
    int32 Number = 0;
    for (const FModeTool& Tool : ListModeTools())
    {
        const TArray<const FDemoScenario*> ToolScenarios = FindDemoScenarios(Scenarios, Tool.Name);
        if (!Tool.bAvailable || ToolScenarios.IsEmpty())
        {
            Console.Print(FString::Printf("\n- %s: %s, skipped", *Tool.Name,
                                          Tool.bAvailable ? "no demo step yet" : "not in this build yet"));
            continue;
        }
        for (const FDemoScenario* Scenario : ToolScenarios)
        {
            ++Number;
            Console.Print(FString::Printf("\n%d. %s: %s", Number, *Tool.Name, *Scenario->Purpose));
            const int StepStatus = RunScenario(Console, *Scenario, CharacterFile,
                                               MakeStepFolder(OutputFolder, Number, Tool.Name));
            Console.Json()["steps"].push_back(
                {{"tool", *Tool.Name}, {"purpose", *Scenario->Purpose}, {"exitCode", StepStatus}});
            Status = std::max(Status, StepStatus);
        }
    }
    Console.Print(FString::Printf("\ndemo %s: %d scenarios run, results in %s",
                                  Status == 0 ? "finished" : "finished with problems", Number,
                                  *OutputFolder));
    return Status;
}
