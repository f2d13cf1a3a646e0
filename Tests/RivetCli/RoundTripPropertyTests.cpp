#include "Engine/Animation/AnimSequence.h"
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

#include <filesystem>
#include <sstream>

namespace
{
/**
 * The file reads back to the asset the session held: the same skeleton, sockets, physics, slots and
 * animation tracks (keys and order); and what the file holds of the geometry comes back whole, so that
 * writing the read asset again gives the same bytes (names and channel order included).
 */
void ExpectFileHolds(const FString& Path, const USkeletalMesh& Mesh, const TArray<UAnimSequence*>& Animations)
{
    const FScopedPackageRelease ReadBack;
    const FInterchangeResult Result = ImportSkinnedMeshFile(Path);
    ASSERT_TRUE(Result.bSuccess) << *Result.Error;
    TArray<FString> ExpectedNames;
    TArray<FString> ActualNames;
    FSkeletalAssetSnapshot Expected = SnapshotFileContent(Mesh, Animations, ExpectedNames);
    FSkeletalAssetSnapshot Actual = SnapshotFileContent(*Result.Mesh, Result.Animations, ActualNames);
    EXPECT_EQ(Result.Mesh->GetName(), Mesh.GetName());
    EXPECT_EQ(ActualNames, ExpectedNames);
    EXPECT_TRUE(Actual.AnimationTracks == Expected.AnimationTracks) << "keys and track order";
    // Element IDs the file does not hold (edges) are numbered anew by a read; the bytes check the geometry.
    Actual.MeshSnapshot.Descriptions = Expected.MeshSnapshot.Descriptions;
    EXPECT_TRUE(Actual == Expected);

    const std::filesystem::path Again =
        std::filesystem::path(*Path).parent_path() / "again" / std::filesystem::path(*Path).filename();
    std::filesystem::create_directories(Again.parent_path());
    ASSERT_TRUE(SavePackageToFile(*Result.Package, FString(Again.string())).bSuccess);
    EXPECT_TRUE(ReadBytes(FString(Again.string())) == ReadBytes(Path)) << "written again differently";
}

/** An asset the property runs over: the file's name and, for the test character, how it is built. */
struct FAssetFile
{
    const char* Name;
    FTestSkeletalAssetOptions Options;
};

/**
 * Writes the asset into Folder and returns its path: the demo character, the importer library's test
 * scene as .fbx or .dae, or else the test character with its animation as .glb or as .gltf with its .bin.
 */
FString WriteAssetFile(const FTestFolder& Folder, const FAssetFile& Asset)
{
    const FScopedPackageRelease Release;
    const FString Path = Folder.File(Asset.Name);
    const std::string Extension = std::filesystem::path(Asset.Name).extension().string();
    if (Extension == ".fbx" || Extension == ".dae")
    {
        const char* const Exporter = Extension == ".fbx" ? "fbxa" : "collada";
        EXPECT_EQ(ExportAssimpTestScene(*BuildAssimpTestScene(), Exporter, Path.ToStdString()), "");
    }
    else if (std::string(Asset.Name) == "demo.glb")
    {
        EXPECT_TRUE(SavePackageToFile(*BuildDemoCharacter("/Game/RoundTrip/Demo").Package, Path).bSuccess);
    }
    else
    {
        const FTestSkeletalAsset Character = BuildTestSkeletalAsset(Asset.Options);
        FGltfExportOptions Export;
        Export.Format = Extension == ".gltf" ? EGltfFileFormat::Text : EGltfFileFormat::Binary;
        Export.Animations.Add(Character.Animation);
        EXPECT_TRUE(ExportSkeletalMeshToGltf(*Character.Mesh, Path, Export).bSuccess);
    }
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

const FAssetFile Assets[] = {
    {"test.glb", {.PackageName = "/Game/RoundTrip/Test"}},
    {"lods.glb", {.PackageName = "/Game/RoundTrip/Lods", .bEmptySlot = true, .NumLODs = 2}},
    {"lods.gltf", {.PackageName = "/Game/RoundTrip/TextLods", .bEmptySlot = true, .NumLODs = 2}},
    {"demo.glb", {}},
    {"scene.fbx", {}},
    {"scene.dae", {}},
};

} // namespace

// Every file rivet writes reads back to the asset the session held when it wrote it: over the test assets
// (the tests' character, also with LODs and an empty slot, as .glb and as .gltf with its .bin; the demo
// character; a scene read from FBX and from Collada through the general importer) and edits of the delete
// tool, of the Mesh Edits panel and of a new slot that shares its material with the slot it came from.
TEST(RoundTripProperty, EveryFileRivetWritesReadsBackToTheAssetItWrote)
{
    const FTestFolder Folder;
    int32 Run = 0;
    for (const FAssetFile& Asset : Assets)
    {
        const FString Input = WriteAssetFile(Folder, Asset);
        for (const FEdit& Edit : Edits)
        {
            SCOPED_TRACE(std::string(Asset.Name) + ": " + Edit.Name);
            std::ostringstream Output;
            FRivetConsole Console(Output, Output);
            FEditSession Session(Console, {Folder.File(("out" + std::to_string(Run++)).c_str()), false});
            TArray<FEditStep> Steps = {{EEditStepKind::Open, {Input}}};
            Steps.Append(Edit.Steps);
            ASSERT_TRUE(Session.RunAll(Steps) && Session.SaveChanged()) << Output.str();
            ASSERT_FALSE(Session.HasToolRefused()) << Output.str();
            ASSERT_EQ(Session.GetSavedFiles().Num(), 1) << Output.str();
            ExpectFileHolds(Session.GetSavedFiles()[0], *Session.GetEditor().GetAsset(),
                            Session.GetAnimations());
        }
    }
}
