#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Interchange/Interchange.h"
#include "InterchangeTestFiles.h"
#include "Support/TestSkeletalAsset.h"
#include "TestGltfDocument.h"

#include <filesystem>
#include <gtest/gtest.h>

using nlohmann::json;

namespace
{
/** A valid unskinned triangle; each test breaks one thing of it. */
FTestGltfDocument MakeTriangle(std::vector<float> Positions = {0, 0, 0, 1, 0, 0, 0, 1, 0},
                               std::vector<uint32_t> Indices = {0, 1, 2})
{
    FTestGltfDocument Document;
    const int PositionAccessor = Document.AddFloats(Positions, "VEC3");
    const int IndexAccessor = Document.AddIndices(Indices);
    Document.Json["meshes"] = {
        {{"primitives", {{{"attributes", {{"POSITION", PositionAccessor}}}, {"indices", IndexAccessor}}}}}};
    Document.Json["scenes"][0]["nodes"].push_back(Document.AddNode({{"mesh", 0}}));
    return Document;
}

class BadInput : public ::testing::Test
{
protected:
    /** Imports the file and checks the refusal: its message, and that no package was made. */
    void ExpectRefused(const FString& Path, const char* Problem)
    {
        const FInterchangeResult Result = ImportSkinnedMeshFile(Path, Options);
        EXPECT_FALSE(Result.bSuccess);
        EXPECT_EQ(Result.Error, Path + ": " + Problem);
        EXPECT_EQ(Result.Package, nullptr);
        EXPECT_EQ(Result.Mesh, nullptr);
        EXPECT_EQ(FindPackage(Options.PackageName), nullptr);
    }

    void ExpectRefused(const FTestGltfDocument& Document, const char* Problem)
    {
        const FString Path = Folder.File("Bad.gltf");
        WriteBytes(Path, Document.ToText());
        ExpectRefused(Path, Problem);
    }

    FTestFolder Folder;
    FInterchangeImportOptions Options{.PackageName = "/Game/BadInput/Refused"};
};

TEST_F(BadInput, MissingEmptyAndUnknownFilesAreRefused)
{
    ExpectRefused(Folder.File("Nowhere.glb"), "the file does not exist");
    WriteBytes(Folder.File("Empty.glb"), "");
    ExpectRefused(Folder.File("Empty.glb"), "the file is empty");
    WriteBytes(Folder.File("Notes.xyz"), "hello");
    ExpectRefused(Folder.File("Notes.xyz"), "unsupported file format '.xyz'");
}

TEST_F(BadInput, TruncatedBinaryFilesAreRefused)
{
    const std::string Bytes = MakeTriangle().ToBinary();
    const FString Path = Folder.File("Cut.glb");
    WriteBytes(Path, Bytes.substr(0, Bytes.size() - 10));
    ExpectRefused(
        Path, FString::Printf("the GLB file is truncated (%zu of %zu bytes)", Bytes.size() - 10, Bytes.size())
                  .ToStdString()
                  .c_str());
    WriteBytes(Path, Bytes.substr(0, 16));
    ExpectRefused(Path, "the GLB file is truncated (16 bytes, too short for its header)");
}

TEST_F(BadInput, MalformedJsonIsRefused)
{
    const FString Path = Folder.File("Broken.gltf");
    WriteBytes(Path, "{\"asset\": {\"version\": \"2.0\"}, \"meshes\": [");
    const FInterchangeResult Result = ImportSkinnedMeshFile(Path, Options);
    EXPECT_FALSE(Result.bSuccess);
    EXPECT_TRUE(Result.Error.StartsWith((Path + ": malformed glTF: ").View())) << *Result.Error;
    EXPECT_EQ(FindPackage(Options.PackageName), nullptr);
}

TEST_F(BadInput, OtherGltfVersionsAreRefused)
{
    FTestGltfDocument Document = MakeTriangle();
    Document.Json["asset"]["version"] = "3.0";
    ExpectRefused(Document, "unsupported glTF version '3.0' (only 2.x is read)");
}

TEST_F(BadInput, OutOfRangeIndicesAreRefused)
{
    ExpectRefused(MakeTriangle({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 7}),
                  "triangle index 7 is out of range (the primitive has 3 vertices)");
    FTestGltfDocument Document = MakeTriangle();
    Document.Json["meshes"][0]["primitives"][0]["attributes"]["POSITION"] = 9;
    ExpectRefused(Document, "POSITION refers to accessor 9, which does not exist");
    FTestGltfDocument Overrun = MakeTriangle();
    Overrun.Json["accessors"][0]["count"] = 30;
    ExpectRefused(Overrun, "the data of POSITION runs past the end of buffer view 0");
}

TEST_F(BadInput, NonFiniteValuesAreRefused)
{
    const float NaN = std::numeric_limits<float>::quiet_NaN();
    ExpectRefused(MakeTriangle({0, 0, 0, NaN, 0, 0, 0, 1, 0}),
                  "POSITION holds a value that is not a finite number");
    const float Infinity = std::numeric_limits<float>::infinity();
    ExpectRefused(MakeTriangle({0, 0, Infinity, 1, 0, 0, 0, 1, 0}),
                  "POSITION holds a value that is not a finite number");
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

TEST_F(BadInput, MeshesWithoutTrianglesAreRefused)
{
    ExpectRefused(MakeTriangle({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 0, 1}), "the mesh has no triangles");
    FTestGltfDocument Points = MakeTriangle();
    Points.Json["meshes"][0]["primitives"][0]["mode"] = 0;
    ExpectRefused(Points, "the mesh has no triangles");
    FTestGltfDocument NoMesh = MakeTriangle();
    NoMesh.Json["nodes"][0].erase("mesh");
    ExpectRefused(NoMesh, "the file holds no mesh");
}

TEST_F(BadInput, BrokenSkinsAndHierarchiesAreRefused)
{
    FTestGltfDocument Joints = MakeTriangle();
    Joints.Json["skins"] = {{{"joints", {5}}}};
    Joints.Json["nodes"][0]["skin"] = 0;
    ExpectRefused(Joints, "skin 0 names the joint node 5, which does not exist");
    FTestGltfDocument Cycle = MakeTriangle();
    Cycle.AddNode({{"children", {2}}});
    Cycle.AddNode({{"children", {1}}});
    ExpectRefused(Cycle, "the node hierarchy has a cycle");
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

TEST_F(BadInput, AFailedExportLeavesTheEarlierFileUntouched)
{
    const FTestSkeletalAsset Asset = BuildTestSkeletalAsset();
    const FString Missing = Folder.File("NoSuchFolder/Character.glb");
    const FInterchangeWriteResult Result = ExportSkeletalMeshToGltf(*Asset.Mesh, Missing);
    EXPECT_FALSE(Result.bSuccess);
    EXPECT_TRUE(Result.Error.StartsWith((Missing + ": the file cannot be created").View())) << *Result.Error;

    const FString Path = Folder.File("Kept.glb");
    WriteBytes(Path, "earlier");
    Asset.Mesh->GetPackage()->SetDirtyFlag(true);
    const FInterchangeWriteResult Refused = SavePackageToFile(*CreatePackage("/Game/BadInput/Nothing"), Path);
    EXPECT_FALSE(Refused.bSuccess);
    EXPECT_EQ(Refused.Error,
              Path + ": the package '/Game/BadInput/Nothing' holds no skeletal mesh, skeleton or animation");
    EXPECT_EQ(ReadBytes(Path), "earlier");
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

    const FInterchangeWriteResult IntoDirectory = SavePackageToFile(Package, Directory);
    EXPECT_FALSE(IntoDirectory.bSuccess);
    EXPECT_TRUE(IntoDirectory.Error.StartsWith((Directory + ": the file cannot be replaced: ").View()))
        << *IntoDirectory.Error;
    const FString Missing = Folder.File("NoSuchFolder/Kept.glb");
    const FInterchangeWriteResult IntoMissingFolder = SavePackageToFile(Package, Missing);
    EXPECT_EQ(IntoMissingFolder.Error,
              Missing + ": the file cannot be created (is the folder missing or read-only?)");

    EXPECT_TRUE(Package.IsDirty());
    EXPECT_TRUE(std::filesystem::is_directory(Directory.ToStdString()));
    EXPECT_EQ(ReadBytes(Kept), "earlier");
    TArray<FString> Left;
    for (const auto& Entry : std::filesystem::directory_iterator(Folder.File("").ToStdString()))
    {
        Left.Add(FString(Entry.path().filename().string()));
    }
    Left.Sort();
    EXPECT_EQ(Left, (TArray<FString>{"Character.glb", "Kept.glb"}));
}
} // namespace
