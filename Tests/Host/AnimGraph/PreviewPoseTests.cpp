#include "AnimGraph/Animation/AnimPreviewInstance.h"
#include "Core/Math/MathUtility.h"
#include "CoreUObject/Object/Package.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Engine/World/World.h"
#include "Support/TestSkeletalAsset.h"
#include "VantorEd/Animation/DebugSkelMeshComponent.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <gtest/gtest.h>

namespace
{
/**
 * The test character (Root at the origin, Spine at (2, 0, 0), Arm at (4, 0, 0) below it, no rotations)
 * on a preview component placed at (10, 0, 0) in a world.
 */
class PreviewPoseTest : public testing::Test
{
protected:
    void SetUp() override
    {
        FTransactionBuffer::Get().Reset();
        Mesh = BuildTestSkeletalAsset({.PackageName = "/Game/Preview/Character"}).Mesh;
        World = NewObject<UWorld>(GetTransientPackage());
        Component = World->SpawnActor<UActor>()->AddComponent<UDebugSkelMeshComponent>();
        Component->SetWorldLocation(FVector(10.0, 0.0, 0.0));
        Component->SetSkeletalMeshAsset(Mesh);
        Component->ReinitializeAnimation();
    }

    FAnimNode_ModifyBone& Spine() { return Component->GetPreviewInstance()->ModifyBone(FName("Spine")); }
    const FTransform& Posed(const char* Bone) const
    {
        return Component->GetComponentSpaceTransforms()[Mesh->GetRefSkeleton().FindBoneIndex(FName(Bone))];
    }

    USkeletalMesh* Mesh = nullptr;
    UWorld* World = nullptr;
    UDebugSkelMeshComponent* Component = nullptr;
};

struct FControllerCase
{
    const char* Name;
    EBoneEditMode TranslationMode, RotationMode, ScaleMode;
    EBoneEditSpace Space;
    FVector Translation;
    double Yaw;
    double Scale;
    FVector SpineAfter, ArmAfter;
};

TEST_F(PreviewPoseTest, EachModeAndSpaceMovesTheBoneAndItsChildrenFollow)
{
    using enum EBoneEditMode;
    const FVector Up(0.0, 0.0, 5.0);
    const FControllerCase Cases[] = {
        {"all ignored", Ignore, Ignore, Ignore, EBoneEditSpace::Component, Up, 90.0, 2.0, {2, 0, 0}, {4, 0, 0}},
        {"replace in component", Replace, Ignore, Ignore, EBoneEditSpace::Component, Up, 0, 1, {0, 0, 5}, {2, 0, 5}},
        {"add in component", Additive, Ignore, Ignore, EBoneEditSpace::Component, Up, 0, 1, {2, 0, 5}, {4, 0, 5}},
        {"replace in world", Replace, Ignore, Ignore, EBoneEditSpace::World, {10, 0, 5}, 0, 1, {0, 0, 5}, {2, 0, 5}},
        {"replace in parent", Replace, Ignore, Ignore, EBoneEditSpace::ParentBone, {1, 0, 0}, 0, 1, {1, 0, 0}, {3, 0, 0}},
        {"add in bone", Additive, Ignore, Ignore, EBoneEditSpace::Bone, {1, 0, 0}, 0, 1, {3, 0, 0}, {5, 0, 0}},
        {"turn", Ignore, Replace, Ignore, EBoneEditSpace::Component, Up, 90.0, 1, {2, 0, 0}, {2, 2, 0}},
        {"turn on top", Ignore, Additive, Ignore, EBoneEditSpace::ParentBone, Up, 90.0, 1, {2, 0, 0}, {2, 2, 0}},
        {"scale", Ignore, Ignore, Replace, EBoneEditSpace::Component, Up, 0, 2.0, {2, 0, 0}, {6, 0, 0}},
        {"scale on top", Ignore, Ignore, Additive, EBoneEditSpace::Bone, Up, 0, 3.0, {2, 0, 0}, {8, 0, 0}},
    };
    for (const FControllerCase& Case : Cases)
    {
        SCOPED_TRACE(Case.Name);
        FAnimNode_ModifyBone& Edit = Spine();
        Edit.Translation = Case.Translation;
        Edit.Rotation = FRotator(0.0, Case.Yaw, 0.0);
        Edit.Scale = FVector(Case.Scale);
        Edit.TranslationMode = Case.TranslationMode;
        Edit.RotationMode = Case.RotationMode;
        Edit.ScaleMode = Case.ScaleMode;
        Edit.TranslationSpace = Edit.RotationSpace = Edit.ScaleSpace = Case.Space;
        Component->RefreshBoneTransforms();
        EXPECT_TRUE(Posed("Spine").GetTranslation().Equals(Case.SpineAfter, 1e-9)) << *Posed("Spine").ToString();
        EXPECT_TRUE(Posed("Arm").GetTranslation().Equals(Case.ArmAfter, 1e-9)) << *Posed("Arm").ToString();
        Component->GetPreviewInstance()->ResetModifiedBone();
    }
}

TEST_F(PreviewPoseTest, BoundsFollowThePosedVerticesAndTheFrameShowsHandEditsOnce)
{
    const FBox Before = Component->GetBounds().GetBox();
    FAnimNode_ModifyBone& Root = Component->GetPreviewInstance()->ModifyBone(FName("Root"));
    Root.ScaleMode = EBoneEditMode::Replace;
    Root.Scale = FVector(2.0);
    const int32 Revision = Component->GetRenderStateRevision();

    Component->TickPose();
    Component->TickPose();

    EXPECT_EQ(Component->GetRenderStateRevision(), Revision + 1);
    const FBox After = Component->GetBounds().GetBox();
    EXPECT_TRUE((After.Max - FVector(10, 0, 0)).Equals((Before.Max - FVector(10, 0, 0)) * 2.0, 1e-5));
    EXPECT_TRUE((After.Min - FVector(10, 0, 0)).Equals((Before.Min - FVector(10, 0, 0)) * 2.0, 1e-5));

    // Re-initialising keeps the instance and its edits; curve controllers pose too, after the hand edits.
    UAnimPreviewInstance* Instance = Component->GetPreviewInstance();
    Component->ReinitializeAnimation();
    EXPECT_EQ(Component->GetPreviewInstance(), Instance);
    EXPECT_DOUBLE_EQ(Posed("Arm").GetTranslation().X, 8.0);
    Instance->ModifyBone(FName("Root"), /*bCurveController=*/true).TranslationMode = EBoneEditMode::Additive;
    Instance->ModifyBone(FName("Root"), true).Translation = FVector(0, 0, 1);
    Component->RefreshBoneTransforms();
    EXPECT_DOUBLE_EQ(Posed("Arm").GetTranslation().Z, 1.0);
    EXPECT_EQ(Instance->GetBoneControllers().Num(), 1);
}

TEST_F(PreviewPoseTest, UndoRestoresTheControllersAndThePose)
{
    UAnimPreviewInstance* Instance = Component->GetPreviewInstance();
    Spine().TranslationMode = EBoneEditMode::Additive;
    const TArray<FAnimNode_ModifyBone> Before = Instance->GetBoneControllers();
    {
        FScopedTransaction Transaction(FText::FromString("Edit Spine"));
        Instance->Modify(true);
        Spine().Translation = FVector(0, 0, 5);
        Instance->ModifyBone(FName("Head")).ScaleMode = EBoneEditMode::Replace;
    }
    Component->RefreshBoneTransforms();
    ASSERT_DOUBLE_EQ(Posed("Arm").GetTranslation().Z, 5.0);

    ASSERT_TRUE(FTransactionBuffer::Get().Undo());
    EXPECT_EQ(Instance->GetBoneControllers(), Before);
    EXPECT_DOUBLE_EQ(Posed("Arm").GetTranslation().Z, 0.0);

    Instance->ResetModifiedBone(false);
    EXPECT_TRUE(Instance->GetBoneControllers().IsEmpty());
}
} // namespace
