#include "BadInputFixture.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "MeshDescription/MeshDescription.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "Support/TestSkeletalAsset.h"

#include <filesystem>
#include <functional>
#include <limits>
#include <sys/stat.h>

using nlohmann::json;

namespace
{
/** The triangle with its buffer in a file beside the document, named by Uri. */
class ResourceRules : public BadInput
{
protected:
    /** Writes Model/Bad.gltf whose buffer uri is Uri, and the buffer itself as Model/Mesh.bin. */
    FString WriteDocument(const std::string& Uri)
    {
        std::filesystem::create_directories(Folder.File("Model").ToStdString());
        const FTestGltfDocument Triangle = MakeTriangle();
        Bin = Triangle.GetBuffer();
        WriteBytes(Folder.File("Model/Mesh.bin"), Bin);
        const FString Path = Folder.File("Model/Bad.gltf");
        WriteBytes(Path, Triangle.ToText(Uri));
        return Path;
    }

    std::string Bin;
};

TEST_F(ResourceRules, OnlyRegularFilesInsideTheDocumentsFolderAreRead)
{
    WriteBytes(Folder.File("Secret.bin"), std::string(4096, 'S'));
    std::filesystem::create_directories(Folder.File("Model/Sub").ToStdString());
    std::filesystem::create_symlink("../Secret.bin", Folder.File("Model/Link.bin").ToStdString());
    ASSERT_EQ(mkfifo(Folder.File("Model/Pipe.bin").ToStdString().c_str(), 0600), 0);
    const char* Outside = "buffer 0: its uri leads outside the folder of the glTF file";
    const char* NotRelative =
        "buffer 0: its uri is neither a data: URI nor a file name relative to the glTF file";
    const std::pair<std::string, std::string> Cases[] = {
        {"../Secret.bin", Outside},
        {"%2e%2e/Secret.bin", Outside},
        {"Sub/../../Secret.bin", Outside},
        {"Link.bin", Outside},
        {"/etc/passwd", NotRelative},
        {"/dev/zero", NotRelative},
        {"/proc/self/mem", NotRelative},
        {"file:///etc/passwd", NotRelative},
        {"Mesh%00.bin", "buffer 0: its uri holds control characters"},
        {"Pipe.bin", "buffer 0: its file 'Pipe.bin' is not a regular file"},
        {"Sub", "buffer 0: its file 'Sub' is not a regular file"},
        {"Missing.bin", "buffer 0: its file 'Missing.bin' cannot be opened"},
    };
    for (const auto& [Uri, Problem] : Cases)
    {
        SCOPED_TRACE(Uri);
        ExpectRefused(WriteDocument(Uri), FString(Problem));
    }
}

TEST_F(ResourceRules, BufferFilesMustHoldTheirByteLength)
{
    const FString Path = WriteDocument("Mesh.bin");
    for (const std::string& Wrong : {Bin.substr(0, Bin.size() - 1), Bin + "tail"})
    {
        WriteBytes(Folder.File("Model/Mesh.bin"), Wrong);
        ExpectRefused(Path, "buffer 0: its file 'Mesh.bin' does not hold the buffer's byteLength of bytes");
    }
}

// Image files are never opened, not even a FIFO or a device.
TEST_F(ResourceRules, RelativeFilesAndLinksThatStayInsideAreReadAndImagesNeverOpened)
{
    std::filesystem::create_directories(Folder.File("Model/Data").ToStdString());
    const FString Path = WriteDocument("Data/Copy%20of%20Mesh.bin");
    WriteBytes(Folder.File("Model/Data/Copy of Mesh.bin"), Bin);
    EXPECT_TRUE(ImportSkinnedMeshFile(Path, {.PackageName = "/Game/Resources/Spaced"}).bSuccess);
    std::filesystem::create_symlink("Mesh.bin", Folder.File("Model/Inside.bin").ToStdString());
    WriteDocument("Inside.bin");
    ASSERT_EQ(mkfifo(Folder.File("Model/Pipe.png").ToStdString().c_str(), 0600), 0);
    json Document = json::parse(ReadBytes(Path));
    Document["images"] = {{{"uri", "Pipe.png"}}, {{"uri", "/dev/zero"}}};
    WriteBytes(Path, Document.dump());
    EXPECT_TRUE(ImportSkinnedMeshFile(Path, {.PackageName = "/Game/Resources/Linked"}).bSuccess);
}

TEST_F(BadInput, DeeplyNestedJsonIsRefusedBeforeItIsParsed)
{
    FTestGltfDocument Document = MakeTriangle();
    Document.Json["nodes"][0]["extras"] = 0;
    std::string Text = Document.ToText();
    Text.replace(Text.find("\"extras\":0"), 10,
                 "\"extras\":" + std::string(20000, '[') + std::string(20000, ']'));
    const FString Path = Folder.File("Deep.gltf");
    WriteBytes(Path, Text);
    ExpectRefused(Path, "malformed glTF: its JSON nests arrays and objects more than 64 deep");
}

TEST_F(BadInput, JointNamesWithControlCharactersBecomeDistinctNames)
{
    FTestGltfDocument Document = MakeAnimatedChain(4, 1.0f);
    const std::string Names[] = {std::string("mid\0a", 5), std::string("mid\0b", 5), std::string("\0", 1),
                                 "esc\x1b[2J\n"};
    for (int Joint = 0; Joint < 4; ++Joint)
    {
        Document.Json["nodes"][Joint + 1]["name"] = Names[Joint];
    }
    const FString Path = Folder.File("Names.gltf");
    WriteBytes(Path, Document.ToText());
    const FInterchangeResult Result = ImportSkinnedMeshFile(Path, {.PackageName = "/Game/BadInput/Names"});
    ASSERT_TRUE(Result.bSuccess) << *Result.Error;
    const FReferenceSkeleton& Skeleton = Result.Mesh->GetRefSkeleton();
    TArray<FString> Read;
    for (int32 Bone = 0; Bone < Skeleton.GetRawBoneNum(); ++Bone)
    {
        Read.Add(Skeleton.GetRawBoneName(Bone).ToString());
    }
    EXPECT_EQ(Read, (TArray<FString>{"mid_a", "mid_b", "_", "esc_[2J_"}));
}
} // namespace

namespace
{
/** One way to break the triangle (or to replace it with a broken one), and the refusal it must get. */
struct FBrokenDocument
{
    const char* Name;
    std::function<void(FTestGltfDocument&)> Break;
    const char* Problem;
};

/** The break that replaces the triangle with a broken document. */
std::function<void(FTestGltfDocument&)> Replaced(const FTestGltfDocument& Broken)
{
    return [Broken](FTestGltfDocument& Document)
    {
        Document = Broken;
    };
}

TEST_F(BadInput, WhatGltfForbidsIsRefusedWithAClearMessage)
{
    using FDocument = FTestGltfDocument;
    const FBrokenDocument Cases[] = {
        {"negative byteOffset", [](FDocument& D) { D.Json["accessors"][0]["byteOffset"] = -4; },
         "accessor 0 has the byteOffset -4; it must be a whole number from 0 to 9007199254740992"},
        {"stride 0", [](FDocument& D) { D.Json["bufferViews"][0]["byteStride"] = 0; },
         "buffer view 0 has the byteStride 0; it must be a whole number from 4 to 252"},
        {"negative stride", [](FDocument& D) { D.Json["bufferViews"][0]["byteStride"] = -12; },
         "buffer view 0 has the byteStride -12; it must be a whole number from 4 to 252"},
        {"no elements", [](FDocument& D) { D.Json["accessors"][0]["count"] = 0; },
         "accessor 0 has the count 0; it must be a whole number from 1 to 9007199254740992"},
        {"unsigned short POSITION", [](FDocument& D) { D.Json["accessors"][0]["componentType"] = 5123; },
         "primitive 0 of mesh 0 has a POSITION attribute that is not VEC3 of floats"},
        {"index count", Replaced(MakeTriangle({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2, 0})),
         "primitive 0 of mesh 0 has 4 indices, which make no whole number of triangles"},
        {"morph counts",
         [](FDocument& D)
         {
             json& Primitives = D.Json["meshes"][0]["primitives"];
             Primitives.push_back(Primitives[0]);
             Primitives[0]["targets"] = {{{"POSITION", 0}}};
         },
         "the primitives of mesh 0 have different numbers of morph targets (1 and 0)"},
        {"scene", [](FDocument& D) { D.Json["scene"] = 5; },
         "the document refers to scene 5, which does not exist"},
        {"own child", [](FDocument& D) { D.Json["nodes"][0]["children"] = {0}; }, "node 0 is its own child"},
        {"repeated joint",
         [](FDocument& D) {
             D.Json["skins"] = {{{"joints", {0, 0}}}};
         },
         "skin 0 names node 0 as a joint more than once"},
        {"JOINTS without WEIGHTS",
         [](FDocument& D)
         {
             D.Json["meshes"][0]["primitives"][0]["attributes"]["JOINTS_0"] =
                 D.AddUnsignedShorts(std::vector<uint16_t>(12, 0), "VEC4");
         },
         "primitive 0 of mesh 0 has JOINTS_0 without WEIGHTS_0"},
        {"32-bit overflow in extras",
         [](FDocument& D) {
             D.Json["nodes"][0]["extras"] = {{"rivet", {{"n", 2147483648u}}}};
         },
         "malformed extras: the number 2147483648 does not fit a 32-bit integer"},
        {"accessors without data",
         [](FDocument& D) {
             D.Json["accessors"].push_back({{"componentType", 5126}, {"count", 16777216}, {"type", "VEC3"}});
         },
         "the accessors without a buffer view ask for 16777216 elements; a file with 48 bytes of buffers may "
         "ask for 4194688"},
        {"position beyond a float in centimetres", Replaced(MakeTriangle({0, 0, 0, 3e38f, 0, 0, 0, 1, 0})),
         "a vertex position is out of range once converted to centimetres and the host's axes"},
        {"bind pose beyond a double in centimetres",
         [](FDocument& D)
         {
             D = MakeAnimatedChain(1, 1.0f);
             D.Json["nodes"][1]["translation"] = {0.0, 1e307, 0.0};
         },
         "the bind pose of bone 'J0' is out of range once converted to centimetres"},
        {"version", [](FDocument& D) { D.Json["asset"]["version"] = "3.0"; },
         "unsupported glTF version '3.0' (only 2.x is read)"},
        {"index out of range", Replaced(MakeTriangle({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 7})),
         "triangle index 7 is out of range (the primitive has 3 vertices)"},
        {"missing accessor",
         [](FDocument& D) { D.Json["meshes"][0]["primitives"][0]["attributes"]["POSITION"] = 9; },
         "POSITION refers to accessor 9, which does not exist"},
        {"negative accessor",
         [](FDocument& D) { D.Json["meshes"][0]["primitives"][0]["attributes"]["COLOR_0"] = -100000000; },
         "COLOR_0 refers to accessor -100000000, which does not exist"},
        {"NaN position",
         Replaced(MakeTriangle({0, 0, 0, std::numeric_limits<float>::quiet_NaN(), 0, 0, 0, 1, 0})),
         "POSITION holds a value that is not a finite number"},
        {"infinite position",
         Replaced(MakeTriangle({0, 0, std::numeric_limits<float>::infinity(), 1, 0, 0, 0, 1, 0})),
         "POSITION holds a value that is not a finite number"},
        {"degenerate triangles", Replaced(MakeTriangle({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 0, 1})),
         "the mesh has no triangles"},
        {"points", [](FDocument& D) { D.Json["meshes"][0]["primitives"][0]["mode"] = 0; },
         "the mesh has no triangles"},
        {"no mesh", [](FDocument& D) { D.Json["nodes"][0].erase("mesh"); }, "the file holds no mesh"},
        {"missing joint",
         [](FDocument& D)
         {
             D.Json["skins"] = {{{"joints", {5}}}};
             D.Json["nodes"][0]["skin"] = 0;
         },
         "skin 0 names the joint node 5, which does not exist"},
        {"cycle",
         [](FDocument& D)
         {
             D.AddNode({{"children", {2}}});
             D.AddNode({{"children", {1}}});
         },
         "the node hierarchy has a cycle"},
        {"missing mesh in our own file",
         [](FDocument& D)
         {
             const int Conversion = D.AddNode({{"name", "HostToGltf"},
                                               {"extras", {{"rivet", {{"conversion", "zUpCentimetres"}}}}},
                                               {"children", {0}}});
             D.Json["scenes"][0]["nodes"] = {Conversion, D.AddNode({{"mesh", 1000000}})};
         },
         "node 2 refers to mesh 1000000, which does not exist"},
        {"float sparse indices", Replaced(MakeSparseTriangle(std::numeric_limits<float>::quiet_NaN(), 5126)),
         "the sparse indices of POSITION have the component type 5126, not an unsigned integer type"},
        {"sparse index 3", Replaced(MakeSparseTriangle(uint32_t(3), 5125)),
         "the sparse data of POSITION names element 3, out of range"},
        {"sparse index 65535", Replaced(MakeSparseTriangle(uint16_t(0xFFFF), 5123)),
         "the sparse data of POSITION names element 65535, out of range"},
        {"count past the view, before anything is allocated",
         [](FDocument& D) { D.Json["accessors"][0]["count"] = 134217000; },
         "the data of POSITION runs past the end of buffer view 0"},
        {"stride past the view", [](FDocument& D) { D.Json["bufferViews"][0]["byteStride"] = 252; },
         "the data of POSITION runs past the end of buffer view 0"},
        {"morph targets beyond the limit",
         [](FDocument& D)
         {
             D.Json["accessors"].push_back({{"componentType", 5126}, {"count", 999999}, {"type", "VEC3"}});
             D.Json["accessors"][0].erase("bufferView");
             D.Json["accessors"][0]["count"] = 999999;
             D.Json["meshes"][0]["primitives"][0].erase("indices");
             for (int Target = 0; Target < 100; ++Target)
             {
                 D.Json["meshes"][0]["primitives"][0]["targets"].push_back({{"POSITION", 2}});
             }
         },
         "the morph targets of 999999 vertices need 99999900 entries, more than the 67108864 a mesh may "
         "have"},
        {"animation keys beyond the limit", Replaced(MakeAnimatedChain(40, 33333.3f)),
         "the animations need more than 33554432 keys over all their bone tracks (animation 'Long' has 40 "
         "tracks of 1000000 keys)"},
        {"endless animation", Replaced(MakeAnimatedChain(1, 1e30f)),
         "an animation lasts 1e+30 seconds, longer than the 1000000 keys at 30 keys per second that are "
         "read"},
        {"animation key beyond a float in centimetres",
         [](FDocument& D)
         {
             D = MakeAnimatedChain(1, 1.0f);
             D.Json["animations"][0]["samplers"][0]["output"] = D.AddFloats({0, 0, 0, 3e38f, 0, 0}, "VEC3");
         },
         "an animation key of bone 'J0' is out of range once converted to centimetres"},
    };
    for (const FBrokenDocument& Case : Cases)
    {
        SCOPED_TRACE(Case.Name);
        FTestGltfDocument Document = MakeTriangle();
        Case.Break(Document);
        ExpectRefused(Document, Case.Problem);
    }
}

/** Our own file, exported from the test character, with its extras edited as a hostile file would. */
class OwnExtras : public BadInput
{
protected:
    void SetUp() override
    {
        const FTestSkeletalAsset Asset = BuildTestSkeletalAsset();
        ASSERT_TRUE(
            ExportSkeletalMeshToGltf(*Asset.Mesh, Exported, {.Format = EGltfFileFormat::Text}).bSuccess);
        Original = json::parse(ReadBytes(Exported));
    }

    json& MeshExtras(json& Document) { return Document["meshes"][0]["extras"]["rivet"]; }
    json& RootExtras(json& Document)
    {
        for (json& Node : Document["nodes"])
        {
            if (Node.contains("extras") && Node["extras"]["rivet"].contains("conversion"))
            {
                return Node["extras"]["rivet"];
            }
        }
        return Document["nodes"][0]["extras"]["rivet"];
    }

    FString Exported = Folder.File("Own.gltf");
    json Original;
};

TEST_F(OwnExtras, ListsAndReferencesOutOfRangeAreRefused)
{
    const std::pair<std::function<void(json&)>, const char*> Cases[] = {
        {[&](json& D)
         {
             const json Entry = {{"mesh", 0}, {"info", MeshExtras(D)["lodInfo"]}};
             MeshExtras(D)["lods"] = json::array();
             for (int Copy = 0; Copy < 20; ++Copy)
             {
                 MeshExtras(D)["lods"].push_back(Entry);
             }
         },
         "the mesh has 21 LODs, more than the 16 that are read"},
        {[&](json& D) {
             MeshExtras(D)["lodInfo"]["materialMap"] = {99, -1, 2147483647};
         },
         "the material map of LOD 0 names slot 99, but the mesh has 3 slots"},
        {[&](json& D) { RootExtras(D)["physics"]["bodies"][0]["bone"] = "Nobody"; },
         "a physics body is on the bone 'Nobody', which the skeleton does not have"},
        {[&](json& D) { MeshExtras(D)["slots"][0].erase("name"); },
         "malformed mesh extras: a required entry is missing"},
        {[&](json& D) { MeshExtras(D)["slots"][0]["name"] = 7; },
         "malformed mesh extras: a value has the wrong type"},
        // The JSON parser refuses numbers beyond a double; those beyond a float are the extras' own check.
        {[&](json& D) { MeshExtras(D)["slots"][0]["material"]["metallic"] = 1e300; },
         "malformed extras: the number 1e+300 is out of range"},
    };
    for (const auto& [Break, Problem] : Cases)
    {
        SCOPED_TRACE(Problem);
        json Document = Original;
        Break(Document);
        WriteBytes(Exported, Document.dump());
        ExpectRefused(Exported, Problem);
    }
}

TEST_F(BadInput, EveryTruncationOfASmallFileIsRefused)
{
    const std::string Text = MakeTriangle().ToText();
    const FString TextPath = Folder.File("Cut.gltf");
    for (size_t Size = 0; Size < Text.size(); ++Size)
    {
        WriteBytes(TextPath, Text.substr(0, Size));
        ExpectRefused(TextPath,
                      Size == 0
                          ? FString("the file is empty")
                          : FString::Printf("malformed glTF: the JSON is not valid (at byte %zu)", Size + 1));
    }
    const std::string Binary = MakeTriangle().ToBinary();
    const FString BinaryPath = Folder.File("Cut.glb");
    for (size_t Size = 0; Size < Binary.size(); ++Size)
    {
        WriteBytes(BinaryPath, Binary.substr(0, Size));
        ExpectRefused(
            BinaryPath,
            Size == 0  ? FString("the file is empty")
            : Size < 4 ? FString::Printf("malformed glTF: the JSON is not valid (at byte 1)")
            : Size < 20
                ? FString::Printf("the GLB file is truncated (%zu bytes, too short for its header)", Size)
                : FString::Printf("the GLB file is truncated (%zu of %zu bytes)", Size, Binary.size()));
    }
}

TEST_F(BadInput, ExportsRefuseValuesThatCouldNotBeReadBack)
{
    const FTestSkeletalAsset Asset = BuildTestSkeletalAsset();
    FMeshDescription& Description = *Asset.Mesh->GetMeshDescription(0);
    // A vertex no triangle uses: it carries no weights, and the file must not name it.
    Description.CreateVertex();
    const FString Path = Folder.File("Orphan.glb");
    ASSERT_TRUE(ExportSkeletalMeshToGltf(*Asset.Mesh, Path).bSuccess);
    const FInterchangeResult Read = ImportSkinnedMeshFile(Path, {.PackageName = "/Game/BadInput/Orphan"});
    EXPECT_TRUE(Read.bSuccess) << *Read.Error;

    FSkeletalMeshAttributes Attributes(Description);
    Attributes.GetVertexPositions()[FVertexID(0)].X = std::numeric_limits<float>::infinity();
    const FString Refused = Folder.File("Infinite.glb");
    const FInterchangeWriteResult Result = ExportSkeletalMeshToGltf(*Asset.Mesh, Refused);
    EXPECT_FALSE(Result.bSuccess);
    EXPECT_EQ(Result.Error,
              Refused + ": a position, transform or animation key of the asset is not a finite number, "
                        "so the file could not be read back; nothing was written");
    EXPECT_FALSE(std::filesystem::exists(Refused.ToStdString()));
}
TEST_F(BadInput, LongFileNamesAreWrittenUpToWhatTheFolderAllows)
{
    const FTestSkeletalAsset Asset = BuildTestSkeletalAsset();
    const FString Longest = Folder.File((std::string(251, 'n') + ".glb").c_str());
    const FInterchangeWriteResult Written = ExportSkeletalMeshToGltf(*Asset.Mesh, Longest);
    EXPECT_TRUE(Written.bSuccess) << *Written.Error;
    const FString TooLong = Folder.File((std::string(300, 'n') + ".glb").c_str());
    EXPECT_EQ(ExportSkeletalMeshToGltf(*Asset.Mesh, TooLong).Error,
              TooLong + ": the file name is longer than the 255 bytes the folder allows");
}
} // namespace
