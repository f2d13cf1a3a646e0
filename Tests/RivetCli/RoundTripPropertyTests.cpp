#include "Engine/Animation/AnimSequence.h"
#include "Engine/Materials/Material.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Interchange/Interchange.h"
#include "RivetCli/Console/RivetConsole.h"
#include "RivetCli/Demo/DemoCharacter.h"
#include "RivetCli/Session/EditSession.h"
#include "RivetCli/Session/ScopedPackageRelease.h"
#include "Support/Assimp/AssimpTestScene.h"
#include "Support/SkeletalAssetSnapshot.h"
#include "Support/TestFiles.h"
#include "Support/TestSkeletalAsset.h"

#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace
{
TArray<const UAnimSequence*> ToConst(const TArray<UAnimSequence*>& Animations)
{
    TArray<const UAnimSequence*> Result;
    for (const UAnimSequence* Animation : Animations)
    {
        Result.Add(Animation);
    }
    return Result;
}

/** What a file holds of an asset: every commit renews the derived-data key, and materials go by name. */
FSkeletalAssetSnapshot FileContent(const USkeletalMesh& Mesh, const TArray<UAnimSequence*>& Animations,
                                   TArray<FString>& OutMaterialNames)
{
    FSkeletalAssetSnapshot Snapshot(Mesh, ToConst(Animations));
    Snapshot.MeshSnapshot.DerivedDataKey = FGuid();
    for (FSkeletalMaterial& Slot : Snapshot.MeshSnapshot.Materials)
    {
        OutMaterialNames.Add(Slot.Material ? Slot.Material->GetName() : FString());
        Slot.Material = nullptr;
    }
    for (const UAnimSequence* Animation : Animations)
    {
        OutMaterialNames.Add("animation " + Animation->GetName());
    }
    return Snapshot;
}

void ExpectFileHolds(const FString& Path, const USkeletalMesh& Mesh, const TArray<UAnimSequence*>& Animations)
{
    const FScopedPackageRelease ReadBack;
    const FInterchangeResult Result = ImportSkinnedMeshFile(Path);
    ASSERT_TRUE(Result.bSuccess) << *Result.Error;
    TArray<FString> ExpectedNames;
    TArray<FString> ActualNames;
    const FSkeletalAssetSnapshot Expected = FileContent(Mesh, Animations, ExpectedNames);
    const FSkeletalAssetSnapshot Actual = FileContent(*Result.Mesh, Result.Animations, ActualNames);
    EXPECT_EQ(Result.Mesh->GetName(), Mesh.GetName());
    EXPECT_EQ(ActualNames, ExpectedNames);
    EXPECT_TRUE(Actual.MeshSnapshot.Descriptions == Expected.MeshSnapshot.Descriptions);
    EXPECT_TRUE(Actual.MeshSnapshot == Expected.MeshSnapshot);
    EXPECT_TRUE(Actual.AnimationTracks == Expected.AnimationTracks) << "keys and track order";
    EXPECT_TRUE(Actual == Expected);
}

/** A test asset written to a file in Folder; returns its path. */
using FMakeFile = std::function<FString(const FTestFolder& Folder)>;

FString WriteTestCharacter(const FTestFolder& Folder, const char* Name, const FTestSkeletalAssetOptions& Options,
                           EGltfFileFormat Format)
{
    const FScopedPackageRelease Release;
    const FTestSkeletalAsset Asset = BuildTestSkeletalAsset(Options);
    FGltfExportOptions Export;
    Export.Format = Format;
    Export.Animations.Add(Asset.Animation);
    const FString Path = Folder.File(Name);
    EXPECT_TRUE(ExportSkeletalMeshToGltf(*Asset.Mesh, Path, Export).bSuccess);
    return Path;
}

FString WriteDemo(const FTestFolder& Folder)
{
    const FScopedPackageRelease Release;
    const FString Path = Folder.File("demo.glb");
    EXPECT_TRUE(SavePackageToFile(*BuildDemoCharacter("/Game/RoundTrip/Demo").Package, Path).bSuccess);
    return Path;
}

FString WriteAssimpScene(const FTestFolder& Folder, const char* Exporter, const char* Name)
{
    const FString Path = Folder.File(Name);
    EXPECT_EQ(ExportAssimpTestScene(*BuildAssimpTestScene(), Exporter, Path.ToStdString()), "");
    return Path;
}

struct FEdit
{
    const char* Name;
    TArray<FEditStep> Steps;
};

const FEdit Edits[] = {
    {"delete a slot's polygons",
     {{EEditStepKind::Tool, {"Delete Polygons"}},
      {EEditStepKind::Select, {"slot:0"}},
      {EEditStepKind::Press, {"Delete Selected Polygons"}}}},
    {"paint a slot into a new one",
     {{EEditStepKind::Tool, {"Assign New Material Slot"}},
      {EEditStepKind::Select, {"slot:0"}},
      {EEditStepKind::Set, {"Slot Name=Fresh"}},
      {EEditStepKind::Accept}}},
    {"flip normals in the Mesh Edits panel",
     {{EEditStepKind::Tool, {"Delete Polygons"}},
      {EEditStepKind::Select, {"slot:0"}},
      {EEditStepKind::Press, {"Flip Normals"}},
      {EEditStepKind::Accept}}},
};
} // namespace

// Every file rivet writes reads back to the asset the session held when it wrote it: over the test assets
// (the tests' character in binary and text files, with LODs and an empty slot; the demo character; the
// importer library's scene as FBX and Collada) and edits of each tool kind.
TEST(RoundTripProperty, EveryFileRivetWritesReadsBackToTheAssetItWrote)
{
    const FTestFolder Folder;
    const std::pair<const char*, FMakeFile> Assets[] = {
        {"test.glb", [](const FTestFolder& F)
         { return WriteTestCharacter(F, "test.glb", {.PackageName = "/Game/RoundTrip/Test"}, EGltfFileFormat::Binary); }},
        {"lods.gltf", [](const FTestFolder& F)
         {
             return WriteTestCharacter(F, "lods.gltf",
                                       {.PackageName = "/Game/RoundTrip/Lods", .bEmptySlot = true, .NumLODs = 2},
                                       EGltfFileFormat::Text);
         }},
        {"demo.glb", WriteDemo},
        {"scene.fbx", [](const FTestFolder& F) { return WriteAssimpScene(F, "fbxa", "scene.fbx"); }},
        {"scene.dae", [](const FTestFolder& F) { return WriteAssimpScene(F, "collada", "scene.dae"); }},
    };
    int32 Run = 0;
    for (const auto& [AssetName, MakeFile] : Assets)
    {
        const FString Input = MakeFile(Folder);
        for (const FEdit& Edit : Edits)
        {
            SCOPED_TRACE(std::string(AssetName) + ": " + Edit.Name);
            std::ostringstream Output;
            FRivetConsole Console(Output, Output);
            FEditSession Session(Console, {Folder.File(("out" + std::to_string(Run++)).c_str()), false});
            TArray<FEditStep> Steps = {{EEditStepKind::Open, {Input}}};
            Steps.Append(Edit.Steps);
            ASSERT_TRUE(Session.RunAll(Steps) && Session.SaveChanged()) << Output.str();
            ASSERT_FALSE(Session.HasToolRefused()) << Output.str();
            ASSERT_EQ(Session.GetSavedFiles().Num(), 1) << Output.str();
            ExpectFileHolds(Session.GetSavedFiles()[0], *Session.GetEditor().GetAsset(), Session.GetAnimations());
        }
    }
}
