#include "BakeTestSupport.h"

#include "CoreUObject/Object/Package.h"
#include "Engine/Animation/AnimSequence.h"
#include "MeshDescription/SkeletalMeshAttributes.h"
#include "Support/SkeletalAssetSnapshot.h"
#include "Support/ToolMessageExpectations.h"

#include <random>

namespace
{
const FVector Up(0, 0, 1);

TArray<FVector3f> Positions(const FMeshDescription& Mesh)
{
    TArray<FVector3f> Result;
    const auto Attribute = FSkeletalMeshAttributesShared(Mesh).GetVertexPositions();
    for (const FVertexID Vertex : Mesh.Vertices().GetElementIDs())
    {
        Result.Add(Attribute[Vertex]);
    }
    return Result;
}

/** Where linear blend skinning of the mesh's LOD 0 by its inverse bind matrices puts each vertex in the pose.
 */
TArray<FVector> SkinnedPositions(const USkeletalMesh& Mesh, const TArray<FTransform>& Pose)
{
    const FMeshDescription& Description = *Mesh.GetMeshDescription(0);
    const FSkeletalMeshAttributesShared Attributes(Description);
    TArray<FVector> Skinned;
    for (const FVertexID Vertex : Description.Vertices().GetElementIDs())
    {
        const FVector Bound(Attributes.GetVertexPositions()[Vertex]);
        FVector Sum;
        double WeightSum = 0.0;
        for (const FBoneWeight& Influence : Attributes.GetVertexSkinWeights().Get(Vertex))
        {
            const FMatrix Bind(Mesh.GetRefBasesInvMatrix()[Influence.BoneIndex]);
            Sum += Pose[Influence.BoneIndex].ToMatrixWithScale().TransformPosition(
                       Bind.TransformPosition(Bound)) *
                   Influence.GetWeight();
            WeightSum += Influence.GetWeight();
        }
        Skinned.Add(Sum / WeightSum);
    }
    return Skinned;
}

/** The positions scaled about the origin. */
TArray<FVector> Scaled(const TArray<FVector3f>& Positions, double Scale)
{
    TArray<FVector> Result;
    for (const FVector3f& Position : Positions)
    {
        Result.Add(FVector(Position) * Scale);
    }
    return Result;
}

void ExpectPositionsNear(const TArray<FVector3f>& Actual, const TArray<FVector>& Expected, double Tolerance)
{
    ASSERT_EQ(Actual.Num(), Expected.Num());
    for (int32 Index = 0; Index < Actual.Num(); ++Index)
    {
        EXPECT_TRUE(FVector(Actual[Index]).Equals(Expected[Index], Tolerance))
            << Index << ": " << Actual[Index].ToString() << " vs " << Expected[Index].ToString();
    }
}

void ScaleBone(FRivetBakeBoneParams& Params, int32 Bone, const FVector& Scale)
{
    Params.ComponentSpacePose[Bone].SetScale3D(Scale);
}
} // namespace

TEST_F(BakeTest, EveryRefusalLeavesEveryAssetAsItWas)
{
    const auto ExpectRefused = [this](const char* Key, const FString& Text, const auto& Arrange)
    {
        SCOPED_TRACE(Text);
        FTestSkeletalAsset Target =
            BuildTestSkeletalAsset({.PackageName = "/Game/Bake/Refused", .NumLODs = 2});
        FRivetBakeBoneParams Call = Params;
        Call.ComponentSpacePose = PoseWith(*Target.Mesh, {{"Root", Turn(Up, 30.0, FVector(1, 2, 3), 1.5)}});
        Call.BoneNames = {"Root"};
        Call.bVerboseLog = Call.bRetargetAnimationScaled = Call.bBakeIntoAnimations =
            Call.bUpdatePhysicsAsset = Call.bLocalizeSkeletonSockets = true;
        USkeletalMesh* const Mesh = Target.Mesh;
        Arrange(Target, Call);
        const FSkeletalAssetSnapshot Before(*Mesh, {Target.Animation});
        const int32 LinesBefore = LoggedLines().Num();

        FRivetBakeBoneResult Result;
        Result.VerticesMoved = 5;
        BakeBoneTransform(Result, Target.Mesh, Call);

        EXPECT_FALSE(Result.bSuccess);
        EXPECT_EQ(Result.VerticesMoved, 0) << "the result is reset";
        ExpectText(Result.Message, "RivetBakeBoneOp", Key, Text);
        EXPECT_TRUE(FSkeletalAssetSnapshot(*Mesh, {Target.Animation}) == Before);
        for (const UObject* Object :
             {static_cast<const UObject*>(Mesh), static_cast<const UObject*>(Target.Skeleton),
              static_cast<const UObject*>(Target.PhysicsAsset),
              static_cast<const UObject*>(Target.Animation)})
        {
            EXPECT_FALSE(Object->GetPackage()->IsDirty()) << *Object->GetName();
        }
        EXPECT_EQ(LoggedLines().Num(), LinesBefore);
    };
    using FAsset = FTestSkeletalAsset;
    using FParams = FRivetBakeBoneParams;
    ExpectRefused("NoMesh", "No skeletal mesh.", [](FAsset& Target, FParams&) { Target.Mesh = nullptr; });
    ExpectRefused("PoseMismatch", "The preview pose does not match this skeleton. Nothing was changed.",
                  [](FAsset&, FParams& Call) { Call.ComponentSpacePose.Pop(); });
    ExpectRefused("NothingToBake", "No bone transforms to bake. Change a bone in the Skeleton Tree first.",
                  [](FAsset& Target, FParams& Call)
                  {
                      Call.BoneNames.Empty();
                      Target.Mesh->ClearMeshDescription(0);
                  });
    ExpectRefused("NoMeshDescription", "This mesh has no editable source geometry.",
                  [](FAsset& Target, FParams&) { Target.Mesh->ClearMeshDescription(0); });
    ExpectRefused("BoneMissing", "Bone 'Tail' is not in this skeleton.",
                  [](FAsset&, FParams& Call) {
                      Call.BoneNames = {"Spine", "Tail"};
                  });
    ExpectRefused("NonUniform",
                  "Bone 'Arm' has a non-uniform scale, which cannot be baked into a skeleton. Make the scale "
                  "uniform first.",
                  [](FAsset&, FParams& Call)
                  {
                      Call.BoneNames = {"Arm", "Tail"};
                      ScaleBone(Call, 2, FVector(1, 1, 1.01));
                  });
    const FString NonPositive =
        "Bone 'Root' has a zero or negative scale, which cannot be baked into a skeleton. "
        "Nothing was changed.";
    ExpectRefused("NonPositiveScale", NonPositive,
                  [](FAsset&, FParams& Call) { ScaleBone(Call, 0, FVector(-1, -1, -1)); });
    ExpectRefused("NonPositiveScale", NonPositive,
                  [](FAsset&, FParams& Call) { ScaleBone(Call, 0, FVector(0.0)); });
    ExpectRefused("BoneIsSkinned",
                  "Bone 'Spine' has vertices skinned to it. Zeroing it would change how the mesh deforms, so "
                  "nothing was changed.",
                  [](FAsset&, FParams& Call)
                  {
                      Call.bZeroTheBone = true;
                      Call.BoneNames = {"Root", "spine"};
                  });
    // The root is skinned by a faint weight, or only in a further LOD.
    for (const int32 LOD : {0, 1})
    {
        ExpectRefused("BoneIsSkinned",
                      "Bone 'Root' has vertices skinned to it. Zeroing it would change how the mesh deforms, "
                      "so nothing was changed.",
                      [LOD](FAsset& Target, FParams& Call)
                      {
                          Call.bZeroTheBone = true;
                          const TArray<FBoneWeight> Faint = {FBoneWeight{0, 1}, FBoneWeight{1, 65534}};
                          FSkeletalMeshAttributes(*Target.Mesh->GetMeshDescription(LOD))
                              .GetVertexSkinWeights()
                              .Set(FVertexID(LOD == 0 ? 7 : 0), Faint);
                      });
    }
}

TEST_F(BakeTest, TheNewRestShapeIsTheOldAssetSkinnedInThePoseAndTheSkeletonCarriesNoScale)
{
    std::mt19937 Random(7);
    std::uniform_real_distribution<double> Unit(-1.0, 1.0);
    const auto RandomEdit = [&]
    {
        const FVector Axis = FVector(Unit(Random), Unit(Random), Unit(Random) + 2.0).GetSafeNormal();
        return Turn(Axis, 120.0 * Unit(Random), FVector(Unit(Random), Unit(Random), Unit(Random)),
                    1.25 + 0.75 * Unit(Random));
    };
    for (int32 Round = 0; Round < 4; ++Round)
    {
        Params.ComponentSpacePose = PoseWith(
            *Asset.Mesh,
            {{"Root", RandomEdit()}, {"Spine", RandomEdit()}, {"Arm", RandomEdit()}, {"Head", RandomEdit()}});
        Params.BoneNames = {"Root", "Spine", "Arm", "Head"};
        const TArray<FVector> Expected = SkinnedPositions(*Asset.Mesh, Params.ComponentSpacePose);

        FRivetBakeBoneResult Result;
        BakeBoneTransform(Result, Asset.Mesh, Params);

        ASSERT_TRUE(Result.bSuccess) << Result.Message.ToString();
        EXPECT_EQ(Result.VerticesMoved, 35);
        EXPECT_EQ(Result.BonesWritten, 4);
        ExpectPositionsNear(Positions(*Asset.Mesh->GetMeshDescription(0)), Expected, 1e-3);
        const TArray<FTransform> NewReference = PoseWith(*Asset.Mesh, {});
        for (int32 Bone = 0; Bone < 4; ++Bone)
        {
            EXPECT_EQ(Asset.Mesh->GetRefSkeleton().GetRefBonePose()[Bone].GetScale3D(), FVector(1, 1, 1));
            EXPECT_TRUE(
                NewReference[Bone].GetTranslation().Equals(Params.ComponentSpacePose[Bone].GetTranslation()));
            EXPECT_TRUE(
                NewReference[Bone].GetRotation().Equals(Params.ComponentSpacePose[Bone].GetRotation()));
        }
    }

    // Baking the reference pose moves nothing.
    const TArray<FVector3f> Baked = Positions(*Asset.Mesh->GetMeshDescription(0));
    ASSERT_TRUE(Bake({}, {"Root"}).bSuccess);
    ExpectPositionsNear(Positions(*Asset.Mesh->GetMeshDescription(0)), Scaled(Baked, 1.0), 1e-5);
}

TEST_F(BakeTest, ARootScaleOfTwoDoublesTheShapeAndTheBoneOffsetsAndIsCommitted)
{
    const TArray<FVector3f> Before = Positions(*Asset.Mesh->GetMeshDescription(0));
    Asset.Mesh->GetPackage()->SetDirtyFlag(false);

    const FRivetBakeBoneResult Result = Bake({{"Root", Turn(Up, 0.0, FVector(), 2.0)}}, {"Root"});

    ASSERT_TRUE(Result.bSuccess);
    ExpectPositionsNear(Positions(*Asset.Mesh->GetMeshDescription(0)), Scaled(Before, 2.0), 1e-6);
    EXPECT_EQ(Asset.Mesh->GetRefSkeleton().GetRefBonePose(),
              (TArray<FTransform>{FTransform::Identity, FTransform(FVector(4, 0, 0)),
                                  FTransform(FVector(4, 0, 0)), FTransform(FVector(0, 4, 0))}));
    const FMatrix Bind(Asset.Mesh->GetRefBasesInvMatrix()[2]);
    EXPECT_TRUE(Bind.TransformPosition(FVector(8, 1, 0)).Equals(FVector(0, 1, 0)))
        << "recomputed for the new pose";
    EXPECT_TRUE(Asset.Mesh->GetImportedBounds().BoxExtent.Equals(FVector(6, 4, 0)));
    EXPECT_TRUE(Asset.Mesh->HasValidRenderData());
    EXPECT_TRUE(Asset.Mesh->GetPackage()->IsDirty());
    EXPECT_EQ(
        LoggedLines(),
        (TArray<FString>{"[RivetEditor] Bake: 35 vertices, 4 bones, 0 children compensated, 0 bones switched "
                         "to AnimationScaled retargeting, 0 animations, 2 morphs, 1 sockets (0 copied from "
                         "the skeleton), 0 physics bodies, 0 constraints updated (1 skeleton sockets left "
                         "untouched)"}));
}

TEST_F(BakeTest, ZeroingTheRootResetsItsRotationAndKeepsItsDescendantsInPlace)
{
    Params.bZeroTheBone = true;
    Params.bVerboseLog = true;
    const FRivetBakeBoneResult Result = Bake({{"Root", Turn(Up, 90.0, FVector(1, 2, 3))}}, {"Root"});

    ASSERT_TRUE(Result.bSuccess) << Result.Message.ToString();
    EXPECT_EQ(Result.ChildBonesCompensated, 1);
    EXPECT_EQ(Asset.Mesh->GetRefSkeleton().GetRefBonePose()[0], FTransform(FVector(1, 2, 3)));
    const TArray<FTransform> NewReference = PoseWith(*Asset.Mesh, {});
    for (int32 Bone = 1; Bone < 4; ++Bone)
    {
        EXPECT_TRUE(NewReference[Bone].Equals(Params.ComponentSpacePose[Bone], 1e-9)) << Bone;
    }

    const TArray<FString> Lines = LoggedLines();
    const TArray<const char*> Starts = {
        "[RivetEditor] DIAG bone 'Root'",
        "[RivetEditor]   CS_ref  = 0.000000,0.000000,0.000000|",
        "[RivetEditor]   CS_pose = 1.000000,2.000000,3.000000|0.000000,90.000000,",
        "[RivetEditor]   delta   = 1.000000,2.000000,3.000000|0.000000,90.000000,",
        "[RivetEditor] DIAG bounds BEFORE: size=X=6.000 Y=4.000 Z=0.000 "
        "center=X=3.000 Y=2.000 Z=0.000",
        "[RivetEditor] DIAG sample vertex: X=0.000 Y=0.000 Z=0.000 --> X=1.000 "
        "Y=2.000 Z=3.000",
        "[RivetEditor] DIAG zeroing 'Root': 1.000000,2.000000,3.000000|0.000000,"
        "90.000000,0.000000|1.000000,1.000000,1.000000 --> 1.000000,2.000000,"
        "3.000000|0.000000,0.000000,0.000000|1.000000,1.000000,1.000000",
        "[RivetEditor] DIAG bounds AFTER: size=X=4.000 Y=6.000 Z=0.000 "
        "center=X=-1.000 Y=5.000 Z=3.000",
        "[RivetEditor] Bake: 35 vertices, 4 bones, 1 children compensated"};
    ASSERT_EQ(Lines.Num(), Starts.Num());
    for (int32 Line = 0; Line < Lines.Num(); ++Line)
    {
        EXPECT_TRUE(Lines[Line].StartsWith(Starts[Line])) << Lines[Line];
    }
}

TEST_F(BakeTest, OneUndoRestoresTheMeshItsSkeletonPhysicsSocketsAndAnimations)
{
    UAnimSequence* Idle = NewObject<UAnimSequence>(CreatePackage("/Game/Bake/Idle"), "Idle", RF_Standalone);
    Idle->SetSkeleton(Asset.Skeleton);
    Idle->GetController().SetNumberOfKeys(2, false);
    Params.bRetargetAnimationScaled = Params.bBakeIntoAnimations = Params.bUpdatePhysicsAsset =
        Params.bLocalizeSkeletonSockets = true;
    const FSkeletalAssetSnapshot Before(*Asset.Mesh, {Asset.Animation, Idle});
    FRivetBakeBoneResult Result;
    {
        FScopedTransaction Transaction(FText::FromString("Bake Bone Transform"));
        Asset.Mesh->Modify(true);
        Result = Bake({{"Root", Turn(Up, 90.0, FVector(0, 0, 5), 2.0)}}, {"Root"});
    }
    ASSERT_TRUE(Result.bSuccess);
    EXPECT_EQ(Result.AnimationsUpdated, 2);
    EXPECT_EQ(Result.SocketsCopiedFromSkeleton, 1);
    EXPECT_EQ(Result.PhysicsBodiesResized, 3);
    EXPECT_EQ(Result.BonesSwitchedToScaled, 4);
    EXPECT_FALSE(FSkeletalAssetSnapshot(*Asset.Mesh, {Asset.Animation, Idle}) == Before);

    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_TRUE(FSkeletalAssetSnapshot(*Asset.Mesh, {Asset.Animation, Idle}) == Before);
    EXPECT_FALSE(FTransactionBuffer::Get().CanUndo());
}

class BakeTwoLODsTest : public BakeTest
{
protected:
    FTestSkeletalAssetOptions AssetOptions() const override
    {
        return {.PackageName = "/Game/Bake/TwoLODs", .NumLODs = 2};
    }
};

TEST_F(BakeTwoLODsTest, EveryLODWithADescriptionTakesTheBake)
{
    const TArray<FVector3f> LOD1 = Positions(*Asset.Mesh->GetMeshDescription(1));

    const FRivetBakeBoneResult Result = Bake({{"Root", Turn(Up, 0.0, FVector(), 2.0)}}, {"Root"});

    ASSERT_TRUE(Result.bSuccess);
    EXPECT_EQ(Result.VerticesMoved, 35) << "LOD 0's count";
    ExpectPositionsNear(Positions(*Asset.Mesh->GetMeshDescription(1)), Scaled(LOD1, 2.0), 1e-6);
    EXPECT_TRUE(Log.ContainsMessage(LogRivetEditor.GetCategoryName(),
                                    "[RivetEditor] Bake: LOD 1: 12 vertices moved"));

    // Without a description a LOD cannot be baked: it is reported and left alone.
    Asset.Mesh->ClearMeshDescription(1);
    ASSERT_TRUE(Bake({{"Root", Turn(Up, 0.0, FVector(), 2.0)}}, {"Root"}).bSuccess);
    EXPECT_TRUE(Log.ContainsMessage(LogRivetEditor.GetCategoryName(),
                                    "[RivetEditor] Bake: LOD 1 has no mesh description and was not baked"));
    EXPECT_EQ(Log.CountLines(LogRivetEditor.GetCategoryName(), ELogVerbosity::Warning), 1);
}
