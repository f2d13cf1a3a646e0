#include "Engine/Animation/AnimSequence.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Interchange/Interchange.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "Support/AssetNames.h"
#include "Support/TestFiles.h"
#include "TestGltfDocument.h"

#include <gtest/gtest.h>

#include <filesystem>

using nlohmann::json;

namespace
{
/**
 * A quad of two triangles in glTF's XY plane (metres, Y up), its second triangle cut off along a UV
 * seam: six file vertices on four places, with normals, two UV channels and one material.
 */
FTestGltfDocument MakeSeamQuad()
{
    FTestGltfDocument Document;
    const int Positions =
        Document.AddFloats({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 0, 0, 1, 1, 0, 0, 1, 0}, "VEC3", true);
    const int Normals = Document.AddFloats({0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1}, "VEC3");
    const int UV0 = Document.AddFloats({0, 0, 1, 0, 1, 1, 0.5f, 0, 0.5f, 1, 0, 1}, "VEC2");
    const int UV1 = Document.AddFloats({0, 0, 2, 0, 2, 2, 0, 0, 2, 2, 0, 2}, "VEC2");
    const int Indices = Document.AddIndices({0, 1, 2, 3, 4, 5});
    Document.Json["materials"] = {{{"name", "Skin"}, {"pbrMetallicRoughness", {{"metallicFactor", 0.25}}}}};
    Document.Json["meshes"] = {
        {{"primitives",
          {{{"attributes",
             {{"POSITION", Positions}, {"NORMAL", Normals}, {"TEXCOORD_0", UV0}, {"TEXCOORD_1", UV1}}},
            {"indices", Indices},
            {"material", 0}}}}}};
    Document.Json["scenes"][0]["nodes"].push_back(Document.AddNode({{"name", "Quad"}, {"mesh", 0}}));
    return Document;
}

/** A triangle skinned to eight joints with equal weights, a morph target with normals, and a joint chain. */
FTestGltfDocument MakeEightInfluenceTriangle()
{
    FTestGltfDocument Document;
    const int Positions = Document.AddFloats({0, 0, 0, 1, 0, 0, 0, 1, 0}, "VEC3", true);
    const int Normals = Document.AddFloats({0, 0, 1, 0, 0, 1, 0, 0, 1}, "VEC3");
    std::vector<uint16_t> Low;
    std::vector<uint16_t> High;
    std::vector<float> Weights(12, 0.125f);
    for (int Vertex = 0; Vertex < 3; ++Vertex)
    {
        Low.insert(Low.end(), {0, 1, 2, 3});
        High.insert(High.end(), {4, 5, 6, 7});
    }
    const int Joints0 = Document.AddUnsignedShorts(Low, "VEC4");
    const int Joints1 = Document.AddUnsignedShorts(High, "VEC4");
    const int Weights0 = Document.AddFloats(Weights, "VEC4");
    const int Weights1 = Document.AddFloats(Weights, "VEC4");
    const int MorphPositions = Document.AddFloats({0, 0, 0, 0, 0.5f, 0, 0, 0, 0}, "VEC3", true);
    const int MorphNormals = Document.AddFloats({0, 0.25f, 0, 0, 0, 0, 0, 0, 0}, "VEC3");
    std::vector<float> InverseBind;
    std::vector<int> Joints;
    for (int Joint = 0; Joint < 8; ++Joint)
    {
        json Node{{"name", "Joint" + std::to_string(Joint)}};
        if (Joint > 0)
        {
            Node["translation"] = {0.0, 0.5, 0.0};
        }
        if (Joint < 7)
        {
            Node["children"] = {Joint + 1};
        }
        Joints.push_back(Document.AddNode(Node));
        const float Height = -0.5f * Joint;
        InverseBind.insert(InverseBind.end(), {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, Height, 0, 1});
    }
    const int InverseBindMatrices = Document.AddFloats(InverseBind, "MAT4");
    Document.Json["skins"] = {{{"joints", Joints}, {"inverseBindMatrices", InverseBindMatrices}}};
    Document.Json["meshes"] = {{{"primitives",
                                 {{{"attributes",
                                    {{"POSITION", Positions},
                                     {"NORMAL", Normals},
                                     {"JOINTS_0", Joints0},
                                     {"JOINTS_1", Joints1},
                                     {"WEIGHTS_0", Weights0},
                                     {"WEIGHTS_1", Weights1}}},
                                   {"targets", {{{"POSITION", MorphPositions}, {"NORMAL", MorphNormals}}}}}}},
                                {"extras", {{"targetNames", {"Blink"}}}}}};
    Document.Json["scenes"][0]["nodes"].push_back(0);
    Document.Json["scenes"][0]["nodes"].push_back(Document.AddNode({{"mesh", 0}, {"skin", 0}}));
    return Document;
}

/** One animation of one sampler driving one node property. */
json MakeAnimation(const char* Name, int Input, int Output, int Node, const char* Path)
{
    json Sampler{{"input", Input}, {"output", Output}};
    json Channel{{"sampler", 0}, {"target", {{"node", Node}, {"path", Path}}}};
    return json{{"name", Name}, {"samplers", json::array({Sampler})}, {"channels", json::array({Channel})}};
}

class GltfForeignFile : public ::testing::Test
{
protected:
    FInterchangeResult Import(const FTestGltfDocument& Document, const char* FileName, bool bBinary = false)
    {
        const FString Path = Folder.File(FileName);
        WriteBytes(Path, bBinary ? Document.ToBinary() : Document.ToText());
        FInterchangeResult Result = ImportSkinnedMeshFile(Path);
        EXPECT_TRUE(Result.bSuccess) << *Result.Error;
        return Result;
    }

    FTestFolder Folder;
};

TEST_F(GltfForeignFile,
       WeldsSeamsConvertsToTheHostsFrameAndGivesAnUnskinnedMeshOneRootBoneAndASlotPerMaterial)
{
    const FInterchangeResult Result = Import(MakeSeamQuad(), "Quad.glb", true);
    ASSERT_TRUE(Result.bSuccess);
    const FMeshDescription& Mesh = *Result.Mesh->GetMeshDescription(0);
    EXPECT_EQ(Mesh.Vertices().Num(), 4);
    EXPECT_EQ(Mesh.VertexInstances().Num(), 6);
    EXPECT_EQ(Mesh.Triangles().Num(), 2);
    FSkeletalMeshAttributesShared Attributes(Mesh);
    EXPECT_EQ(Attributes.GetVertexInstanceUVs().GetNumChannels(), 2);
    EXPECT_EQ(Attributes.GetVertexInstanceUVs().Get(FVertexInstanceID(3), 0), FVector2f(0.5f, 0.0f));
    EXPECT_EQ(Attributes.GetVertexInstanceUVs().Get(FVertexInstanceID(4), 1), FVector2f(2.0f, 2.0f));
    EXPECT_EQ(Mesh.GetVertexInstanceVertex(FVertexInstanceID(3)),
              Mesh.GetVertexInstanceVertex(FVertexInstanceID(0)));

    EXPECT_EQ(BoneNames(Result.Mesh->GetRefSkeleton()), TArray<FName>{"Root"});
    const auto Weights = Attributes.GetVertexSkinWeights().Get(FVertexID(0));
    ASSERT_EQ(Weights.size(), 1u);
    EXPECT_EQ(Weights[0], (FBoneWeight{0, FBoneWeight::MaxRawWeight}));
    ASSERT_EQ(SlotNames(*Result.Mesh), TArray<FName>{"Skin"});
    EXPECT_EQ(Result.Mesh->GetMaterials()[0].Material->Metallic, 0.25f);
    EXPECT_EQ(Attributes.GetPolygonGroupMaterialSlotNames()[FPolygonGroupID(0)], FName("Skin"));
    EXPECT_EQ(Result.Mesh->GetImportedModel()->LODModels[0].Sections.Num(), 1);
    EXPECT_TRUE(Result.Mesh->GetImportedBounds().BoxExtent.X > 0.0);

    // Y-up metres become Z-up centimetres, and front faces stay front faces.
    EXPECT_EQ(Attributes.GetVertexPositions()[FVertexID(2)], FVector3f(100.0f, 0.0f, 100.0f));
    EXPECT_EQ(Attributes.GetVertexInstanceNormals()[FVertexInstanceID(0)], FVector3f(0.0f, -1.0f, 0.0f));
    for (const FTriangleID Triangle : Mesh.Triangles().GetElementIDs())
    {
        const auto Corners = Mesh.GetTriangleVertices(Triangle);
        const FVector3f A = Attributes.GetVertexPositions()[Corners[0]];
        const FVector3f Face = (Attributes.GetVertexPositions()[Corners[1]] - A)
                                   .Cross(Attributes.GetVertexPositions()[Corners[2]] - A);
        EXPECT_GT(Face.Dot(FVector3f(0.0f, -1.0f, 0.0f)), 0.0f)
            << "the front face turned away from its normal";
    }
}

// Animations are resampled at 30 keys per second; a key count the extras record but the channels do not
// have is not trusted.
TEST_F(GltfForeignFile, ReadsEightInfluencesTheJointHierarchyMorphTargetsAndResampledAnimations)
{
    FTestGltfDocument Document = MakeEightInfluenceTriangle();
    const int Times = Document.AddFloats({0.0f, 1.0f}, "SCALAR", true);
    const int Moves = Document.AddFloats({0, 0.5f, 0, 0, 1.5f, 0}, "VEC3");
    json Animation = MakeAnimation("Lift", Times, Moves, 1, "translation");
    Animation["extras"] = {{"rivet", {{"frameRate", 30.0}, {"numKeys", 1000000}}}};
    Document.Json["animations"] = json::array({Animation});
    const FInterchangeResult Result = Import(Document, "Eight.gltf");
    ASSERT_TRUE(Result.bSuccess);
    FSkeletalMeshAttributesShared Attributes(*Result.Mesh->GetMeshDescription(0));
    const auto Weights = Attributes.GetVertexSkinWeights().Get(FVertexID(0));
    ASSERT_EQ(Weights.size(), 8u);
    int32 Sum = 0;
    for (const FBoneWeight& Weight : Weights)
    {
        EXPECT_NEAR(Weight.RawWeight, 65535 / 8, 1);
        Sum += Weight.RawWeight;
    }
    EXPECT_EQ(Sum, 65535) << "quantised to weights summing to one";

    const FReferenceSkeleton& Bones = Result.Mesh->GetRefSkeleton();
    ASSERT_EQ(Bones.GetRawBoneNum(), 8);
    EXPECT_EQ(Bones.GetRawBoneName(3), FName("Joint3"));
    EXPECT_EQ(Bones.GetRawParentIndex(3), 2);
    EXPECT_TRUE(Bones.GetRefBonePose()[3].GetTranslation().Equals(FVector(0.0, 0.0, 50.0), 1e-9));
    EXPECT_EQ(Result.Skeleton->GetReferenceSkeleton().GetRawBoneNum(), 8);

    ASSERT_EQ(Attributes.GetMorphTargetNames(), TArray<FName>{FName("Blink")});
    ASSERT_TRUE(Attributes.HasMorphTargetNormalsAttribute(FName("Blink")));
    EXPECT_TRUE(FVector(Attributes.GetVertexMorphPositionDelta(FName("Blink"))[FVertexID(1)])
                    .Equals(FVector(0.0, 0.0, 50.0), 1e-5));
    EXPECT_TRUE(FVector(Attributes.GetVertexInstanceMorphNormalDelta(FName("Blink"))[FVertexInstanceID(0)])
                    .Equals(FVector(0.0, 0.0, 0.25), 1e-6));
    EXPECT_NE(Result.Mesh->FindMorphTarget(FName("Blink")), nullptr);

    ASSERT_EQ(Result.Animations.Num(), 1);
    EXPECT_EQ(Result.Warnings,
              TArray<FString>{"animation 'Lift': its channels do not have the 1000000 keys its "
                              "extras record; it is resampled at 30 keys per second"});
    const UAnimationDataModel& Model = *Result.Animations[0]->GetDataModel();
    EXPECT_EQ(Model.GetNumberOfKeys(), 31);
    EXPECT_EQ(Model.GetFrameRate(), 30.0);
    const FAnimationBoneTrack* Track = Model.FindBoneTrackByName(FName("Joint1"));
    ASSERT_NE(Track, nullptr);
    EXPECT_TRUE(FVector(Track->PositionKeys[15]).Equals(FVector(0.0, 0.0, 100.0), 1e-3));
    EXPECT_TRUE(FVector(Track->PositionKeys[30]).Equals(FVector(0.0, 0.0, 150.0), 1e-4));
}

TEST_F(GltfForeignFile, JoinsSeveralMeshNodesWithTheirTransforms)
{
    FTestGltfDocument Document = MakeSeamQuad();
    Document.Json["materials"].push_back({{"name", "Cloth"}});
    json Second = Document.Json["meshes"][0];
    Second["primitives"][0]["material"] = 1;
    Document.Json["meshes"].push_back(Second);
    Document.Json["scenes"][0]["nodes"].push_back(
        Document.AddNode({{"mesh", 1}, {"translation", {2.0, 0.0, 0.0}}}));
    const FInterchangeResult Result = Import(Document, "Two.gltf");
    ASSERT_TRUE(Result.bSuccess);
    const FMeshDescription& Mesh = *Result.Mesh->GetMeshDescription(0);
    EXPECT_EQ(Mesh.Triangles().Num(), 4);
    EXPECT_EQ(Mesh.PolygonGroups().Num(), 2);
    EXPECT_EQ(SlotNames(*Result.Mesh), (TArray<FName>{"Skin", "Cloth"}));
    FSkeletalMeshAttributesShared Attributes(Mesh);
    EXPECT_EQ(Attributes.GetVertexPositions()[FVertexID(4)], FVector3f(200.0f, 0.0f, 0.0f));
}

TEST_F(GltfForeignFile, AnimationsOnlyFilesBindToAnExistingSkeletonByName)
{
    FTestGltfDocument Document = MakeEightInfluenceTriangle();
    const FInterchangeResult Mesh = Import(Document, "Eight.gltf");
    ASSERT_TRUE(Mesh.bSuccess);
    const int Times = Document.AddFloats({0.0f, 0.5f}, "SCALAR", true);
    const int Turns = Document.AddFloats({0, 0, 0, 1, 0, 0, 0.70710677f, 0.70710677f}, "VEC4");
    Document.Json["animations"] = json::array({MakeAnimation("Turn", Times, Turns, 2, "rotation")});
    const FString Path = Folder.File("Turn.gltf");
    WriteBytes(Path, Document.ToText());
    const FInterchangeResult Result = ImportAnimationFile(Path, Mesh.Skeleton);
    ASSERT_TRUE(Result.bSuccess) << *Result.Error;
    ASSERT_EQ(Result.Animations.Num(), 1);
    EXPECT_EQ(Result.Animations[0]->GetSkeleton(), Mesh.Skeleton);
    EXPECT_EQ(Result.Animations[0]->GetDataModel()->GetBoneAnimationTracks().Num(), 1);
    EXPECT_NE(Result.Animations[0]->GetDataModel()->FindBoneTrackByName(FName("Joint2")), nullptr);
    EXPECT_EQ(Result.Mesh, nullptr);
}
TEST_F(GltfForeignFile, NamesThatMatchAsNamesOrAreNoneAreMadeUnique)
{
    FTestGltfDocument Document = MakeEightInfluenceTriangle();
    Document.Json["nodes"][1]["name"] = "Hip";
    Document.Json["nodes"][2]["name"] = "hip";
    Document.Json["nodes"][3]["name"] = "none";
    Document.Json["nodes"][4]["name"] = "Bone_3";
    const int Times = Document.AddFloats({0.0f, 1.0f}, "SCALAR", true);
    const int Moves = Document.AddFloats({0, 0.5f, 0, 0, 1.5f, 0}, "VEC3");
    Document.Json["animations"] = {MakeAnimation("Walk", Times, Moves, 2, "translation"),
                                   MakeAnimation("walk", Times, Moves, 3, "translation")};
    const FInterchangeResult Result = Import(Document, "Names.gltf");
    ASSERT_TRUE(Result.bSuccess);
    EXPECT_EQ(BoneNames(Result.Mesh->GetRefSkeleton()),
              (TArray<FName>{"Joint0", "Hip", "hip_1", "Bone_3", "Bone_3_1", "Joint5", "Joint6", "Joint7"}));
    ASSERT_EQ(Result.Animations.Num(), 2);
    EXPECT_EQ(Result.Animations[0]->GetFName(), FName("Walk"));
    EXPECT_EQ(Result.Animations[1]->GetFName(), FName("walk_1"));
    EXPECT_NE(Result.Animations[0]->GetDataModel()->FindBoneTrackByName(FName("hip_1")), nullptr);
    EXPECT_NE(Result.Animations[1]->GetDataModel()->FindBoneTrackByName(FName("Bone_3")), nullptr);
}

TEST_F(GltfForeignFile, MaterialsWhoseNamesMatchGetTheirOwnSlotsAndMaterials)
{
    FTestGltfDocument Document = MakeSeamQuad();
    json& Primitives = Document.Json["meshes"][0]["primitives"];
    Primitives.push_back(Primitives[0]);
    Primitives.push_back(Primitives[0]);
    Primitives[1]["material"] = 1;
    Primitives[2]["material"] = 2;
    Document.Json["materials"].push_back({{"name", "skin"}});
    Document.Json["materials"].push_back({{"name", "None"}});
    const FInterchangeResult Result = Import(Document, "Skins.gltf");
    ASSERT_TRUE(Result.bSuccess);
    ASSERT_EQ(SlotNames(*Result.Mesh), (TArray<FName>{"Skin", "skin_1", "Material_2"}));
    const TArray<FSkeletalMaterial>& Slots = Result.Mesh->GetMaterials();
    EXPECT_EQ(Slots[0].Material->GetFName(), FName("M_Skin"));
    EXPECT_EQ(Slots[1].Material->GetFName(), FName("M_skin_1"));
    EXPECT_EQ(Slots[2].Material->GetFName(), FName("M_Material_2"));
}

/** Each channel of the document's first animation as "node name/path". */
std::vector<std::string> ChannelTargets(const json& Document)
{
    std::vector<std::string> Targets;
    for (const json& Channel : Document["animations"][0]["channels"])
    {
        const json& Target = Channel["target"];
        Targets.push_back(Document["nodes"][Target["node"].get<int>()]["name"].get<std::string>() + "/" +
                          Target["path"].get<std::string>());
    }
    return Targets;
}

// What the file says that the assets have no place for comes back when they are written: the names of
// the mesh, its node, the skin and the animation, and the order of the channels; two primitives that
// share a material become two groups drawing with one slot, and are written as one material used twice.
TEST_F(GltfForeignFile, WritingTheAssetsAgainKeepsTheFilesNamesChannelOrderAndSharedMaterial)
{
    FTestGltfDocument Document = MakeEightInfluenceTriangle();
    json& Mesh = Document.Json["meshes"][0];
    Mesh["name"] = "BodyMesh";
    Mesh["primitives"].push_back(Mesh["primitives"][0]);
    Mesh["primitives"][1]["indices"] = Document.AddIndices({0, 2, 1});
    Mesh["primitives"][0]["material"] = Mesh["primitives"][1]["material"] = 0;
    Document.Json["materials"] = json::array({{{"name", "Skin"}}});
    Document.Json["skins"][0]["name"] = "Armature";
    Document.Json["nodes"][8]["name"] = "Body";
    const int Times = Document.AddFloats({0.0f, 1.0f}, "SCALAR", true);
    const int Moves = Document.AddFloats({0, 0.5f, 0, 0, 1.5f, 0}, "VEC3");
    const int Turns = Document.AddFloats({0, 0, 0, 1, 0, 0, 0.70710677f, 0.70710677f}, "VEC4");
    const int Sizes = Document.AddFloats({1, 1, 1, 2, 2, 2}, "VEC3");
    json Animation{{"name", "Armature|Wave"}, {"samplers", json::array()}, {"channels", json::array()}};
    for (const auto& [Node, Path] : std::vector<std::pair<int, std::string>>{{2, "scale"},
                                                                             {1, "rotation"},
                                                                             {2, "translation"},
                                                                             {1, "translation"},
                                                                             {2, "rotation"},
                                                                             {1, "scale"}})
    {
        const int Output = Path == "rotation" ? Turns : Path == "scale" ? Sizes : Moves;
        Animation["channels"].push_back(
            {{"sampler", Animation["samplers"].size()}, {"target", {{"node", Node}, {"path", Path}}}});
        Animation["samplers"].push_back({{"input", Times}, {"output", Output}});
    }
    Document.Json["animations"] = json::array({Animation});
    const FInterchangeResult Result = Import(Document, "character.gltf");
    ASSERT_TRUE(Result.bSuccess);
    EXPECT_EQ(Result.Mesh->GetMaterials().Num(), 1) << "one slot per material";
    EXPECT_EQ(Result.Mesh->GetLODInfo(0)->LODMaterialMap, (TArray<int32>{0, 0})) << "a group per primitive";

    const FString Written = Folder.File("written/character.gltf");
    std::filesystem::create_directories(std::filesystem::path(*Written).parent_path());
    ASSERT_TRUE(SavePackageToFile(*Result.Package, Written).bSuccess);
    const json Out = json::parse(ReadBytes(Written));
    EXPECT_EQ(Out["meshes"][0]["name"], "BodyMesh");
    EXPECT_EQ(Out["skins"][0]["name"], "Armature");
    EXPECT_EQ(Out["animations"][0]["name"], "Armature|Wave");
    EXPECT_EQ(ChannelTargets(Out), ChannelTargets(Document.Json));
    ASSERT_EQ(Out["materials"].size(), 1u);
    EXPECT_EQ(Out["materials"][0]["name"], "Skin");
    EXPECT_EQ(Out["nodes"].back()["name"], "Body") << "the mesh's node comes last";
    ASSERT_EQ(Out["meshes"][0]["primitives"].size(), 2u);
    for (const json& Primitive : Out["meshes"][0]["primitives"])
    {
        EXPECT_EQ(Primitive["material"], 0);
    }

    // Read and written once more, the file is the same.
    const FInterchangeResult Again = ImportSkinnedMeshFile(Written);
    ASSERT_TRUE(Again.bSuccess) << *Again.Error;
    const FString Twice = Folder.File("twice/character.gltf");
    std::filesystem::create_directories(std::filesystem::path(*Twice).parent_path());
    ASSERT_TRUE(SavePackageToFile(*Again.Package, Twice).bSuccess);
    EXPECT_EQ(ReadBytes(Twice), ReadBytes(Written));
    EXPECT_EQ(ReadBytes(Folder.File("twice/character.bin")), ReadBytes(Folder.File("written/character.bin")));
}
} // namespace
