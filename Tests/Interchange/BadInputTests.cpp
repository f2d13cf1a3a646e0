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
/** The triangle with one sparse substitute for POSITION: element Index (stored as IndexType) becomes (5, 5,
 * 5). */
template <typename IndexType>
FTestGltfDocument MakeSparseTriangle(IndexType Index, int ComponentType)
{
    FTestGltfDocument Document = MakeTriangle();
    const float Values[3] = {5, 5, 5};
    Document.Json["accessors"][0]["sparse"] = {
        {"count", 1},
        {"indices",
         {{"bufferView", Document.AddBufferView(&Index, sizeof(Index))}, {"componentType", ComponentType}}},
        {"values", {{"bufferView", Document.AddBufferView(Values, sizeof(Values))}}}};
    return Document;
}

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
    EXPECT_TRUE(IntoDirectory.Error.StartsWith((Directory + ": Character.glb cannot be replaced: ").View()))
        << *IntoDirectory.Error;
    const FString Missing = Folder.File("NoSuchFolder/Kept.glb");
    const FInterchangeWriteResult IntoMissingFolder = SavePackageToFile(Package, Missing);
    EXPECT_EQ(IntoMissingFolder.Error,
              Missing + ": Kept.glb cannot be created: No such file or directory");

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
TEST_F(BadInput, ReferencesToMissingMeshesAndAccessorsAreRefused)
{
    FTestGltfDocument OwnFile = MakeTriangle();
    const int Conversion = OwnFile.AddNode({{"name", "HostToGltf"},
                                            {"extras", {{"rivet", {{"conversion", "zUpCentimetres"}}}}},
                                            {"children", {0}}});
    OwnFile.Json["scenes"][0]["nodes"] = {Conversion, OwnFile.AddNode({{"mesh", 1000000}})};
    ExpectRefused(OwnFile, "node 2 refers to mesh 1000000, which does not exist");
    FTestGltfDocument Color = MakeTriangle();
    Color.Json["meshes"][0]["primitives"][0]["attributes"]["COLOR_0"] = -100000000;
    ExpectRefused(Color, "COLOR_0 refers to accessor -100000000, which does not exist");
}

TEST_F(BadInput, SparseIndicesMustBeUnsignedIntegersInRange)
{
    ExpectRefused(
        MakeSparseTriangle(std::numeric_limits<float>::quiet_NaN(), 5126),
        "the sparse indices of POSITION have the component type 5126, not an unsigned integer type");
    ExpectRefused(MakeSparseTriangle(uint32_t(3), 5125),
                  "the sparse data of POSITION names element 3, out of range");
    ExpectRefused(MakeSparseTriangle(uint16_t(0xFFFF), 5123),
                  "the sparse data of POSITION names element 65535, out of range");
    FTestGltfDocument Fine = MakeSparseTriangle(uint8_t(2), 5121);
    const FString Path = Folder.File("Sparse.gltf");
    WriteBytes(Path, Fine.ToText());
    const FInterchangeResult Result = ImportSkinnedMeshFile(Path, {.PackageName = "/Game/BadInput/Sparse"});
    ASSERT_TRUE(Result.bSuccess) << *Result.Error;
    EXPECT_EQ(Result.Mesh->GetMeshDescription(0)->Vertices().Num(), 3);
}

TEST_F(BadInput, AccessorsLargerThanTheirDataAreRefusedBeforeAnythingIsAllocated)
{
    FTestGltfDocument Giant = MakeTriangle();
    Giant.Json["accessors"][0]["count"] = 134217000;
    ExpectRefused(Giant, "the data of POSITION runs past the end of buffer view 0");
    FTestGltfDocument Strided = MakeTriangle();
    Strided.Json["bufferViews"][0]["byteStride"] = 252;
    ExpectRefused(Strided, "the data of POSITION runs past the end of buffer view 0");
    FTestGltfDocument NoData = MakeTriangle();
    NoData.Json["accessors"][0].erase("bufferView");
    NoData.Json["accessors"][0]["count"] = 100000000;
    ExpectRefused(NoData,
                  "the accessors without a buffer view ask for 100000000 elements; a file with 48 bytes "
                  "of buffers may ask for 4194688");
}

TEST_F(BadInput, MorphTargetsAndAnimationsBeyondTheLimitsAreRefused)
{
    FTestGltfDocument Morphs = MakeTriangle();
    Morphs.Json["accessors"].push_back({{"componentType", 5126}, {"count", 999999}, {"type", "VEC3"}});
    Morphs.Json["accessors"][0].erase("bufferView");
    Morphs.Json["accessors"][0]["count"] = 999999;
    Morphs.Json["meshes"][0]["primitives"][0].erase("indices");
    for (int Target = 0; Target < 100; ++Target)
    {
        Morphs.Json["meshes"][0]["primitives"][0]["targets"].push_back({{"POSITION", 2}});
    }
    ExpectRefused(Morphs,
                  "the morph targets of 999999 vertices need 99999900 entries, more than the 67108864 "
                  "a mesh may have");
    ExpectRefused(
        MakeAnimatedChain(40, 33333.3f),
        "the animations need more than 33554432 keys over all their bone tracks (animation 'Long' has "
        "40 tracks of 1000000 keys)");
}

TEST_F(BadInput, NonFiniteNumbersInOurExtrasAreRefused)
{
    const FTestSkeletalAsset Asset = BuildTestSkeletalAsset();
    const FString Exported = Folder.File("Exported.gltf");
    ASSERT_TRUE(ExportSkeletalMeshToGltf(*Asset.Mesh, Exported, {.Format = EGltfFileFormat::Text}).bSuccess);
    json Document = json::parse(ReadBytes(Exported));
    // The JSON parser refuses numbers beyond a double; those beyond a float are the extras' own check.
    Document["meshes"][0]["extras"]["rivet"]["slots"][0]["material"]["metallic"] = 1e300;
    WriteBytes(Exported, Document.dump());
    ExpectRefused(Exported, "malformed extras: the number 1e+300 is out of range");
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
