#include "BadInputFixture.h"
#include "CoreUObject/Object/Package.h"
#include "CoreUObject/Object/UObjectGlobals.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Interchange/Interchange.h"
#include "Interchange/Private/ImportPackageScope.h"
#include "MeshDescription/MeshDescription.h"
#include "Support/TestFiles.h"
#include "Support/TestSkeletalAsset.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>

using nlohmann::json;

namespace
{
TEST_F(BadInput, MissingAndUnknownFilesAreRefused)
{
    ExpectRefused(Folder.File("Nowhere.glb"), "the file does not exist");
    WriteBytes(Folder.File("Notes.xyz"), "hello");
    ExpectRefused(Folder.File("Notes.xyz"), "unsupported file format '.xyz'");
}

TEST_F(BadInput, NumbersBeyondADoubleAreRefused)
{
    FTestGltfDocument Document = MakeTriangle();
    Document.Json["nodes"][0]["translation"] = {0.0, 12345.5, 0.0};
    std::string Text = Document.ToText();
    Text.replace(Text.find("12345.5"), 7, "1e400");
    const FString Path = Folder.File("Huge.gltf");
    WriteBytes(Path, Text);
    const FInterchangeResult Result = ImportSkinnedMeshFile(Path, Options);
    EXPECT_FALSE(Result.bSuccess);
    EXPECT_EQ(FindPackage(Options.PackageName), nullptr);
}

TEST_F(BadInput, ARequestedPackageThatExistsIsRefused)
{
    const FString Path = Folder.File("Fine.gltf");
    WriteBytes(Path, MakeTriangle().ToText());
    CreatePackage("/Game/BadInput/Taken");
    const FInterchangeResult Result = ImportSkinnedMeshFile(Path, {.PackageName = "/Game/BadInput/Taken"});
    EXPECT_FALSE(Result.bSuccess);
    EXPECT_EQ(Result.Error, Path + ": the package '/Game/BadInput/Taken' exists already");
}

TEST_F(BadInput, AnimationFilesWithoutMatchingBonesAreRefused)
{
    const FTestSkeletalAsset Asset = BuildTestSkeletalAsset();
    const FString Path = Folder.File("Still.gltf");
    WriteBytes(Path, MakeTriangle().ToText());
    const FInterchangeResult Result = ImportAnimationFile(Path, Asset.Skeleton, Options);
    EXPECT_FALSE(Result.bSuccess);
    EXPECT_EQ(Result.Error, Path + ": the file holds no animations");
    EXPECT_EQ(FindPackage(Options.PackageName), nullptr);
    const FInterchangeResult NoSkeleton = ImportAnimationFile(Path, nullptr, Options);
    EXPECT_EQ(NoSkeleton.Error, Path + ": no skeleton was given to bind the animations to");
}

TEST_F(BadInput, AFailedSaveChangesNothingAndLeavesNoTemporaryFile)
{
    const FTestSkeletalAsset Asset = BuildTestSkeletalAsset();
    UPackage& Package = *Asset.Mesh->GetPackage();
    Package.SetDirtyFlag(true);
    const FString Kept = Folder.File("Kept.glb");
    WriteBytes(Kept, "earlier");
    const FString Directory = Folder.File("Character.glb");
    std::filesystem::create_directory(Directory.ToStdString());

    const FInterchangeWriteResult Empty = SavePackageToFile(*CreatePackage("/Game/BadInput/Nothing"), Kept);
    EXPECT_EQ(Empty.Error,
              Kept + ": the package '/Game/BadInput/Nothing' holds no skeletal mesh, skeleton or animation");
    const FInterchangeWriteResult IntoDirectory = SavePackageToFile(Package, Directory);
    EXPECT_FALSE(IntoDirectory.bSuccess);
    EXPECT_TRUE(IntoDirectory.Error.StartsWith((Directory + ": Character.glb cannot be replaced: ").View()))
        << *IntoDirectory.Error;
    const FString Missing = Folder.File("NoSuchFolder/Kept.glb");
    const FInterchangeWriteResult IntoMissingFolder = SavePackageToFile(Package, Missing);
    EXPECT_EQ(IntoMissingFolder.Error, Missing + ": Kept.glb cannot be created: No such file or directory");

    EXPECT_TRUE(Package.IsDirty());
    EXPECT_TRUE(std::filesystem::is_directory(Directory.ToStdString()));
    EXPECT_EQ(ReadBytes(Kept), "earlier");
    EXPECT_EQ(Folder.ListFiles(), (TArray<FString>{"Character.glb", "Kept.glb"}));
}

TEST_F(BadInput, SparseSubstitutesWithSmallIndicesAreRead)
{
    const FString Path = Folder.File("Sparse.gltf");
    WriteBytes(Path, MakeSparseTriangle(uint8_t(2), 5121).ToText());
    const FInterchangeResult Result = ImportSkinnedMeshFile(Path, {.PackageName = "/Game/BadInput/Sparse"});
    ASSERT_TRUE(Result.bSuccess) << *Result.Error;
    EXPECT_EQ(Result.Mesh->GetMeshDescription(0)->Vertices().Num(), 3);
}

TEST_F(BadInput, NonFiniteValuesInOtherFormatsAreRefused)
{
    const char* Triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
    const char* SkinnedTriangle =
        "version 1\nnodes\n0 \"Root\" -1\nend\nskeleton\ntime 0\n0 0 0 0 0 0 0\nend\n"
        "triangles\nmat\n0 0 0 0 0 0 1 U 0\n0 1 0 0 0 0 1 1 0\n0 0 1 0 0 0 1 0 1\nend\n";
    std::string BadUV = SkinnedTriangle;
    BadUV.replace(BadUV.find(" U "), 3, " nan ");
    const std::tuple<const char*, std::string, const char*> Cases[] = {
        {"Normal.obj", std::string(Triangle) + "vn 0 1e999 1\nf 1//1 2//1 3//1\n",
         "a vertex normal is not a finite number"},
        {"Colour.obj", "v 0 0 0 1e999 0 0\nv 1 0 0 0 0 0\nv 0 1 0 0 0 0\nf 1 2 3\n",
         "a vertex colour is not a finite number"},
        {"UV.smd", BadUV, "a texture coordinate is not a finite number"},
    };
    for (const auto& [Name, Text, Problem] : Cases)
    {
        const FString Path = Folder.File(Name);
        WriteBytes(Path, Text);
        ExpectRefused(Path, Problem);
    }
}

TEST_F(BadInput, OutOfRangeVertexNumbersOfOurFilesAreRefused)
{
    const FTestSkeletalAsset Asset = BuildTestSkeletalAsset();
    const FString Exported = Folder.File("Exported.gltf");
    ASSERT_TRUE(ExportSkeletalMeshToGltf(*Asset.Mesh, Exported, {.Format = EGltfFileFormat::Text}).bSuccess);
    std::string Bin = ReadBytes(Folder.File("Exported.bin"));
    const json Document = json::parse(ReadBytes(Exported));
    const json& Accessor =
        Document["accessors"][Document["meshes"][0]["primitives"][0]["attributes"]["_VERTEX"].get<int>()];
    const json& View = Document["bufferViews"][Accessor["bufferView"].get<int>()];
    const uint16_t High = 0x8000;
    std::memcpy(Bin.data() + View["byteOffset"].get<size_t>() + 2, &High, sizeof(High));
    WriteBytes(Folder.File("Exported.bin"), Bin);
    ExpectRefused(Exported, "_VERTEX holds a vertex ID out of range (0, 32768)");
}

TEST(ImportPackageScope, DiscardsThePackageAndItsAssetsUnlessKept)
{
    {
        FImportPackageScope Scope("/Game/BadInput/HalfDone");
        NewObject<USkeletalMesh>(&Scope.GetPackage(), FName("Mesh"), RF_Public | RF_Standalone);
    }
    EXPECT_EQ(FindPackage("/Game/BadInput/HalfDone"), nullptr);
    int32 NumLeft = 0;
    ForEachObjectOfClass<USkeletalMesh>([&](USkeletalMesh* Mesh) { NumLeft += Mesh->GetName() == "Mesh"; });
    EXPECT_EQ(NumLeft, 0);
    UPackage* Kept = nullptr;
    {
        FImportPackageScope Scope("/Game/BadInput/Done");
        Kept = Scope.Keep();
    }
    EXPECT_EQ(FindPackage("/Game/BadInput/Done"), Kept);
}
} // namespace
