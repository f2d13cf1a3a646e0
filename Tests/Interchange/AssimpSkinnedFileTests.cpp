#include "Engine/Animation/AnimSequence.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Interchange/Interchange.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "Support/AssetNames.h"
#include "Support/Assimp/AssimpTestScene.h"
#include "Support/MeshBuilders.h"
#include "Support/TestFiles.h"

#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <numbers>
#include <regex>

namespace
{
/** How the file's frame maps to the host: host = (File.X, -File.Z, File.Y) * Scale for Y up. */
struct FFileFrame
{
    bool bZUp = false;
    double Scale = 1.0;

    FVector ToHost(const FVector& File) const
    {
        return (bZUp ? File : FVector(File.X, -File.Z, File.Y)) * Scale;
    }
    FVector ToFile(const FVector3f& Host) const
    {
        const FVector P = FVector(Host) / Scale;
        return bZUp ? P : FVector(P.X, P.Z, -P.Y);
    }
};

struct FFormat
{
    const char* ExporterId;
    const char* FileName;
    FFileFrame Frame;
};

/** The ASCII FBX writer's files in centimetres, Y up; Collada in metres, Y up. */
const FFormat AsciiFbx{"fbxa", "Character.fbx", {false, 1.0}};
const FFormat Collada{"collada", "Character.dae", {false, 100.0}};

class AssimpSkinnedFile : public ::testing::TestWithParam<FFormat>
{
protected:
    /** Exports the test scene (changed by EditScene), lets Edit change the file's text, and imports it. */
    FInterchangeResult ExportAndImport(const FFormat& Format,
                                       const std::function<void(std::string&)>& Edit = nullptr,
                                       const std::function<void(aiScene&)>& EditScene = nullptr)
    {
        const FString Path = Folder.File(Format.FileName);
        const std::unique_ptr<aiScene> Scene = BuildAssimpTestScene();
        if (EditScene)
        {
            EditScene(*Scene);
        }
        const std::string Error = ExportAssimpTestScene(*Scene, Format.ExporterId, Path.ToStdString());
        EXPECT_EQ(Error, "");
        if (Edit)
        {
            std::string Text = ReadBytes(Path);
            Edit(Text);
            WriteBytes(Path, Text);
        }
        FInterchangeResult Result = ImportSkinnedMeshFile(Path);
        EXPECT_TRUE(Result.bSuccess) << *Result.Error;
        return Result;
    }

    static void ExpectNear(const FVector& Expected, const FVector& Actual, const char* What)
    {
        EXPECT_TRUE(Actual.Equals(Expected, 1e-3)) << What << ": " << *Actual.ToString();
    }

    /** Bone names, parents and reference pose: Hips (root) with Spine and Leg below it. */
    static void ExpectSkeleton(const USkeletalMesh& Mesh, const FFileFrame& Frame)
    {
        const FReferenceSkeleton& Bones = Mesh.GetRefSkeleton();
        ASSERT_EQ(Bones.GetRawBoneNum(), 3);
        const char* Names[] = {"Hips", "Spine", "Leg"};
        const int32 Parents[] = {INDEX_NONE, 0, 0};
        const FVector Offsets[] = {FVector(0, 1, 1), FVector(0, 1, 0), FVector(1, 0, 0)};
        for (int32 Bone = 0; Bone < 3; ++Bone)
        {
            EXPECT_EQ(Bones.GetRawBoneName(Bone), FName(Names[Bone]));
            EXPECT_EQ(Bones.GetRawParentIndex(Bone), Parents[Bone]);
            const FTransform& Pose = Bones.GetRawRefBonePose()[Bone];
            ExpectNear(Frame.ToHost(Offsets[Bone]), Pose.GetTranslation(), Names[Bone]);
            EXPECT_TRUE(Pose.GetRotation().Equals(FQuat::Identity, 1e-5)) << Names[Bone];
        }
    }

    /** Each vertex has the influences the scene gave its file position, to within one raw step. */
    static void ExpectWeights(const USkeletalMesh& Mesh, const FFileFrame& Frame)
    {
        const FMeshDescription& Description = *Mesh.GetMeshDescription(0);
        FSkeletalMeshAttributesShared Attributes(Description);
        for (const FVertexID Vertex : Description.Vertices().GetElementIDs())
        {
            const FVector File = Frame.ToFile(Attributes.GetVertexPositions()[Vertex]);
            const auto Expected = AssimpTestSceneWeights(static_cast<float>(std::round(File.X)),
                                                         static_cast<float>(std::round(File.Y)));
            const std::span<const FBoneWeight> Actual = Attributes.GetVertexSkinWeights().Get(Vertex);
            ASSERT_EQ(Actual.size(), Expected.size()) << "vertex " << Vertex.GetValue();
            for (const auto& [Bone, Weight] : Expected)
            {
                const int32 BoneIndex = Mesh.GetRefSkeleton().FindRawBoneIndex(FName(Bone.c_str()));
                const auto Found =
                    std::find_if(Actual.begin(), Actual.end(),
                                 [&](const FBoneWeight& W) { return W.BoneIndex == BoneIndex; });
                ASSERT_NE(Found, Actual.end()) << Bone << " on vertex " << Vertex.GetValue();
                EXPECT_NEAR(Found->RawWeight, Weight * FBoneWeight::MaxRawWeight, 1.0) << Bone;
            }
        }
    }

    /** 31 keys at 30 per second; Hips rises by half a unit, Spine turns a quarter turn about file z. */
    static void ExpectWave(const UAnimSequence& Animation, const FFileFrame& Frame)
    {
        const UAnimationDataModel& Data = *Animation.GetDataModel();
        EXPECT_EQ(Data.GetNumberOfKeys(), 31);
        EXPECT_EQ(Data.GetFrameRate(), 30.0);
        ASSERT_EQ(Data.GetBoneAnimationTracks().Num(), 2);
        const FAnimationBoneTrack& Hips = Data.GetBoneAnimationTracks()[0];
        const FAnimationBoneTrack& Spine = Data.GetBoneAnimationTracks()[1];
        EXPECT_EQ(Hips.Name, FName("Hips"));
        EXPECT_EQ(Spine.Name, FName("Spine"));
        ExpectNear(Frame.ToHost(FVector(0, 1, 1)), FVector(Hips.PositionKeys[0]), "Hips at rest");
        ExpectNear(Frame.ToHost(FVector(0, 1.5, 1)), FVector(Hips.PositionKeys[30]), "Hips raised");
        ExpectNear(Frame.ToHost(FVector(0, 1, 0)), FVector(Spine.PositionKeys[15]), "Spine");
        const FVector Axis = Frame.ToHost(FVector(0, 0, 1)).GetSafeNormal();
        EXPECT_TRUE(FQuat(Spine.RotationKeys[15]).Equals(FQuat(Axis, std::numbers::pi / 4), 1e-4));
        EXPECT_TRUE(FQuat(Spine.RotationKeys[30]).Equals(FQuat(Axis, std::numbers::pi / 2), 1e-4));
    }

    FTestFolder Folder;
};

TEST_P(AssimpSkinnedFile, GivesTheSkeletonASlotPerMaterialBlendedWeightsAndTheAnimationInTheSkeletonsSpace)
{
    const FInterchangeResult Result = ExportAndImport(GetParam());
    ASSERT_TRUE(Result.bSuccess);
    ExpectSkeleton(*Result.Mesh, GetParam().Frame);
    EXPECT_EQ(Result.Skeleton->GetReferenceSkeleton(), Result.Mesh->GetRefSkeleton());

    const FMeshDescription& Description = *Result.Mesh->GetMeshDescription(0);
    EXPECT_EQ(Description.Triangles().Num(), 6);
    EXPECT_EQ(Description.Vertices().Num(), 8) << "the meshes share the two vertices of their seam";
    EXPECT_EQ(GroupSlotNames(Description), (TArray<FName>{"Skin", "Cloth"}));
    EXPECT_EQ(CountTrianglesPerGroup(Description), (TArray<int32>{4, 2}));
    EXPECT_EQ(SlotNames(*Result.Mesh), GroupSlotNames(Description));
    EXPECT_EQ(SlotNames(*Result.Mesh, &FSkeletalMaterial::ImportedMaterialSlotName), SlotNames(*Result.Mesh));

    ExpectWeights(*Result.Mesh, GetParam().Frame);
    ASSERT_EQ(Result.Animations.Num(), 1);
    EXPECT_NE(Result.Animations[0]->GetName().Find("Wave"), INDEX_NONE);
    EXPECT_EQ(Result.Animations[0]->GetSkeleton(), Result.Skeleton);
    ExpectWave(*Result.Animations[0], GetParam().Frame);
}

INSTANTIATE_TEST_SUITE_P(Formats, AssimpSkinnedFile, ::testing::Values(AsciiFbx, Collada),
                         [](const auto& Info) { return std::string(Info.param.ExporterId); });

TEST_F(AssimpSkinnedFile, FbxKeepsTheMorphTarget)
{
    const FInterchangeResult Result = ExportAndImport(AsciiFbx);
    ASSERT_TRUE(Result.bSuccess);
    const FMeshDescription& Description = *Result.Mesh->GetMeshDescription(0);
    FSkeletalMeshAttributesShared Attributes(Description);
    ASSERT_EQ(Attributes.GetMorphTargetNames(), TArray<FName>{FName("Bulge")});
    const auto Deltas = Attributes.GetVertexMorphPositionDelta(FName("Bulge"));
    int32 NumMoved = 0;
    for (const FVertexID Vertex : Description.Vertices().GetElementIDs())
    {
        const bool bTop = std::round(AsciiFbx.Frame.ToFile(Attributes.GetVertexPositions()[Vertex]).Y) == 3.0;
        ExpectNear(AsciiFbx.Frame.ToHost(FVector(0, 0, bTop ? 0.5 : 0.0)), FVector(Deltas[Vertex]), "delta");
        NumMoved += bTop ? 1 : 0;
    }
    EXPECT_EQ(NumMoved, 2);
}

TEST_F(AssimpSkinnedFile, AMorphTargetNamedNoneIsNamedAfterItsIndex)
{
    // A name FName reads as None names no morph target: it gets the name of an unnamed one instead.
    const FInterchangeResult Result =
        ExportAndImport(AsciiFbx, nullptr,
                        [](aiScene& Scene)
                        {
                            for (unsigned Mesh = 0; Mesh < Scene.mNumMeshes; ++Mesh)
                            {
                                for (unsigned Morph = 0; Morph < Scene.mMeshes[Mesh]->mNumAnimMeshes; ++Morph)
                                {
                                    Scene.mMeshes[Mesh]->mAnimMeshes[Morph]->mName = "none";
                                }
                            }
                        });
    ASSERT_TRUE(Result.bSuccess);
    FSkeletalMeshAttributesShared Attributes(*Result.Mesh->GetMeshDescription(0));
    EXPECT_EQ(Attributes.GetMorphTargetNames(), TArray<FName>{FName("MorphTarget_0")});
}

TEST_F(AssimpSkinnedFile, AVertexNoBoneWeighsKeepsNoInfluences)
{
    // The cloth's corner (2, 2) was weighed by Leg only; without Leg's weights nothing weighs it.
    const FInterchangeResult Result =
        ExportAndImport(Collada, nullptr,
                        [](aiScene& Scene)
                        {
                            const aiMesh& Cloth = *Scene.mMeshes[1];
                            for (unsigned Bone = 0; Bone < Cloth.mNumBones; ++Bone)
                            {
                                if (Cloth.mBones[Bone]->mName == aiString("Leg"))
                                {
                                    Cloth.mBones[Bone]->mNumWeights = 0;
                                }
                            }
                        });
    ASSERT_TRUE(Result.bSuccess);
    const FMeshDescription& Description = *Result.Mesh->GetMeshDescription(0);
    FSkeletalMeshAttributesShared Attributes(Description);
    int32 NumUnweighted = 0;
    for (const FVertexID Vertex : Description.Vertices().GetElementIDs())
    {
        const FVector File = Collada.Frame.ToFile(Attributes.GetVertexPositions()[Vertex]);
        const std::span<const FBoneWeight> Weights = Attributes.GetVertexSkinWeights().Get(Vertex);
        EXPECT_EQ(Weights.empty(), std::round(File.X) == 2.0 && std::round(File.Y) == 2.0);
        NumUnweighted += Weights.empty() ? 1 : 0;
    }
    EXPECT_EQ(NumUnweighted, 1);
}

TEST_F(AssimpSkinnedFile, FbxUpAxisAndUnitsDecideTheConversion)
{
    // Z up, inches: the file's axes are the host's and each unit is 2.54 cm.
    const FInterchangeResult Result = ExportAndImport(
        AsciiFbx,
        [](std::string& Text)
        {
            Text = std::regex_replace(Text, std::regex(R"(("UpAxis", "int", "Integer", "", )1)"), "$012");
            Text = std::regex_replace(Text, std::regex(R"(("UnitScaleFactor", "double", "Number", "", )1)"),
                                      "$012.54");
        });
    ASSERT_TRUE(Result.bSuccess);
    const FFileFrame ZUpInches{true, 2.54};
    ExpectSkeleton(*Result.Mesh, ZUpInches);
    ExpectWeights(*Result.Mesh, ZUpInches);
    ExpectWave(*Result.Animations[0], ZUpInches);
}
} // namespace
