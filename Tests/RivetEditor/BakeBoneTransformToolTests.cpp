#include "ToolTestFixture.h"

#include "AnimGraph/Animation/AnimPreviewInstance.h"
#include "Core/Math/ForwardKinematics.h"
#include "CoreUObject/Reflection/Class.h"
#include "Engine/Animation/Skeleton.h"
#include "RivetEditor/Private/Ops/RivetBakeBoneOp.h"
#include "RivetEditor/Private/Tools/RivetBakeBoneTransformTool.h"
#include "RivetEditor/Private/Tools/RivetBakeToolDiagnostics.h"
#include "RivetEditorLog.h"
#include "Support/SkeletalAssetSnapshot.h"
#include "VantorEd/Animation/DebugSkelMeshComponent.h"

#include <cmath>

namespace
{
const char* const TextNamespace = "RivetBakeBoneTransformTool";
const FName LogCategory = LogRivetEditor.GetCategoryName();

/** The test character (Root, Spine at (2, 0, 0), Arm, Head; Root unskinned) open in the editor. */
class BakeToolTest : public FToolTest
{
public:
    void SetUp() override
    {
        Open({.PackageName = "/Game/BakeTool/Character"});
        Tool = StartToolAs<URivetBakeBoneTransformTool>(Editor, "Bake Bone Transform");
    }

    /** Types a value into the panel and lets the editor run a frame. */
    void Type(const char* Name, const char* Value)
    {
        SetToolProperty(Editor, Name, Value);
        Editor.Tick();
    }
    void Press(const char* Button)
    {
        FToolTest::Press(Button);
        Editor.Tick();
    }

    /** The text of the latest tool message with that key, or empty. */
    FString MessageText(const char* Key) const
    {
        FString Text;
        for (const FToolMessage& Message : Editor.GetMessages())
        {
            Text = Message.Text.GetKey() == Key ? Message.Text.ToString() : Text;
        }
        return Text;
    }

    UAnimPreviewInstance* Instance() const { return Editor.GetPreviewComponent()->GetPreviewInstance(); }
    const FTransform& Posed(const char* Bone) const
    {
        return Editor.GetPreviewComponent()->GetComponentSpaceTransforms()[Asset.Mesh->GetRefSkeleton().FindBoneIndex(
            FName(Bone))];
    }
    FSkeletalAssetSnapshot Snapshot() const { return FSkeletalAssetSnapshot(*Asset.Mesh, {Asset.Animation}); }

    URivetBakeBoneTransformTool* Tool = nullptr;
};
} // namespace

TEST_F(BakeToolTest, StartsThroughTheModeWithItsPanelHintAndWhatItSees)
{
    EXPECT_EQ(Tool->GetToolDisplayName().ToString(), "Bake Bone Transform");
    EXPECT_EQ(Tool->TargetWorld.Get(), Editor.GetPreviewWorld());
    ExpectLastMessage(Editor, TextNamespace, "ToolStartup",
                      "Select a bone in the Skeleton Tree and press Use Selected Bone. Location, Rotation and Scale "
                      "show in the viewport as you type. Then press Bake.",
                      EToolMessageLevel::UserNotification);
    URivetBakeBoneTransformToolProperties* Settings = Tool->GetSettings();
    ASSERT_EQ(Tool->GetToolProperties().Num(), 1);
    EXPECT_EQ(Settings->ParentTool.Get(), Tool);
    EXPECT_EQ(Settings->Detected.ToStdString(), "Mesh: Character\nModified bones: 0\nPhysics asset: Character_Physics (3 "
                                  "bodies)\n\nNothing changed yet. Select a bone in the Skeleton Tree, edit its "
                                  "Rotation or Scale, then press Refresh.");
    const UClass* Panel = URivetBakeBoneTransformToolProperties::StaticClass();
    EXPECT_EQ(Panel->FindPropertyByName("bRetargetAnimationScaled")->GetMetaData("DisplayName"),
              "Make Animations Follow");
    EXPECT_FALSE(Panel->FindPropertyByName("Detected")->IsEditable());
    EXPECT_TRUE(Panel->FindPropertyByName("Scale")->HasMetaData("AllowPreserveRatio"));
    EXPECT_EQ(Panel->FindFunctionByName("ApplyRotationNow")->GetMetaData("DisplayName"), "Apply to Preview");
}

TEST_F(BakeToolTest, TypedValuesPoseTheRootAtOnceAndBakeAsTheOperationDoesInOneUndoStep)
{
    FTestSkeletalAsset Twin = BuildTestSkeletalAsset({.PackageName = "/Game/BakeTool/Twin"});
    Type("Scale", "1.1");
    EXPECT_NEAR(Posed("Arm").GetTranslation().X, 4.4, 1e-9);
    Type("Rotation", "0,180,0");
    EXPECT_NEAR(Posed("Arm").GetTranslation().X, -4.4, 1e-9);
    Type("bLocalizeSkeletonSockets", "true");
    const FSkeletalAssetSnapshot Before = Snapshot();
    FRivetBakeBoneParams Params{.ComponentSpacePose = Editor.GetPreviewComponent()->GetComponentSpaceTransforms(),
                                .BoneNames = {FName("Root")},
                                .bZeroTheBone = true,
                                .bVerboseLog = true,
                                .bPostEditChange = true,
                                .bRetargetAnimationScaled = true,
                                .bBakeIntoAnimations = true,
                                .bUpdatePhysicsAsset = true,
                                .bLocalizeSkeletonSockets = true};
    FRivetBakeBoneResult Expected;
    BakeBoneTransform(Expected, Twin.Mesh, Params);
    ASSERT_TRUE(Expected.bSuccess);

    Press("Bake");

    EXPECT_EQ(MessageText("PhysicsShapesSkipped"), "2 physics shape(s) could not be resized (level sets are not "
                                                   "supported). Check the physics asset.");
    EXPECT_EQ(CountMessages(Editor, "BakeDone"), 1);
    EXPECT_TRUE(MessageText("BakeDone").StartsWith(
        FString::Printf("Baked 1 bone(s): %d vertices moved, %d child bone(s) compensated, 4 bone(s) switched",
                        Expected.VerticesMoved, Expected.ChildBonesCompensated)
            .View()));
    EXPECT_EQ(CountMessages(Editor, "SocketsLocalized") + CountMessages(Editor, "PhysicsAssetName"), 2);
    EXPECT_EQ(Editor.GetActiveTool(), nullptr);
    EXPECT_TRUE(Instance()->GetBoneControllers().IsEmpty());
    EXPECT_TRUE(Asset.Mesh->GetRefSkeleton() == Twin.Mesh->GetRefSkeleton());
    EXPECT_TRUE(*Asset.Mesh->GetMeshDescription(0) == *Twin.Mesh->GetMeshDescription(0));
    EXPECT_TRUE(Posed("Arm").GetTranslation().Equals(Params.ComponentSpacePose[2].GetTranslation(), 1e-5))
        << "the preview shows the new rest pose";
    EXPECT_TRUE(Editor.GetLog().ContainsMessage(LogCategory, "[RivetEditor] DIAG floor (BEFORE bake): mesh lowest Z="));
    EXPECT_TRUE(Editor.GetLog().ContainsMessage(LogCategory, ", floor Z=0.000"));
    ExpectOneUndoStep("Bake Bone Transform");

    ASSERT_TRUE(Editor.Undo());
    EXPECT_TRUE(Snapshot() == Before);
    EXPECT_EQ(Instance()->GetBoneControllers().Num(), 1) << "undo brings back the pose that was baked";
}

TEST_F(BakeToolTest, ApplyAddsThePanelsDeltasToTheBonesReferencePlacementInComponentSpace)
{
    Type("BoneName", "Spine");
    Type("Location", "X=0 Y=0 Z=10");
    const FAnimNode_ModifyBone* Spine = Instance()->FindModifiedBone(FName("Spine"));
    ASSERT_NE(Spine, nullptr);
    EXPECT_EQ(Spine->Translation, FVector(2, 0, 10));
    EXPECT_EQ(Spine->TranslationMode, EBoneEditMode::Replace);
    EXPECT_EQ(Spine->ScaleSpace, EBoneEditSpace::Component);
    EXPECT_TRUE(Editor.GetLog().ContainsMessage(
        LogCategory, "[RivetEditor] Apply: bone='Spine' location=X=0.000 Y=0.000 Z=10.000 "
                     "rotation=P=0.000000 Y=0.000000 R=0.000000 scale=X=1.000 Y=1.000 Z=1.000"));

    Type("Rotation", "P=0 Y=90 R=0");
    EXPECT_TRUE(Posed("Spine").GetRotation().Equals(FQuat(FVector(0, 0, 1), VT::Math::Pi / 2), 1e-9));
    EXPECT_TRUE(Posed("Arm").GetTranslation().Equals(FVector(2, 2, 10), 1e-9));
    EXPECT_TRUE(Tool->GetSettings()->Detected.Contains("  Spine\n    rotate 90.0 deg about (0.00, 0.00, 1.00)"));
}

TEST_F(BakeToolTest, TouchingAnOptionWithANeutralPanelEditsNoBoneAndHandEditsAloneAreBaked)
{
    Type("bZeroTheBone", "false");
    Type("Scale", "1");
    EXPECT_TRUE(Instance()->GetBoneControllers().IsEmpty());
    EXPECT_TRUE(Tool->GetSettings()->Detected.Contains("Modified bones: 0"));

    FAnimNode_ModifyBone& Arm = Instance()->ModifyBone(FName("Arm"), false);
    Arm.ScaleMode = EBoneEditMode::Replace;
    Arm.Scale = FVector(2.0);
    Editor.Tick();
    Press("Refresh");
    EXPECT_TRUE(Tool->GetSettings()->Detected.Contains("  Arm\n    rotate 0.0 deg about (1.00, 0.00, 0.00)\n    scale 2.000"));
    Type("bUpdatePhysicsAsset", "false");
    Press("Bake");

    EXPECT_EQ(CountMessages(Editor, "BakeDone"), 1);
    EXPECT_TRUE(MessageText("BakeDone").StartsWith("Baked 1 bone(s)"));
    EXPECT_EQ(Editor.GetActiveTool(), nullptr);
    EXPECT_TRUE(Asset.Mesh->GetRefSkeleton().GetRefBonePose()[0].Equals(FTransform::Identity)) << "the root stays";
}

TEST_F(BakeToolTest, EveryRefusalSaysWhyAndChangesNothing)
{
    const FSkeletalAssetSnapshot Before = Snapshot();
    const auto ExpectRefused = [&](const char* Key, const char* Text)
    {
        ExpectLastMessage(Editor, TextNamespace, Key, Text, EToolMessageLevel::UserWarning);
        EXPECT_EQ(Editor.GetActiveTool(), Tool);
        EXPECT_TRUE(Snapshot() == Before) << Key;
        EXPECT_FALSE(FTransactionBuffer::Get().CanUndo());
    };
    Press("Bake");
    ExpectRefused("NothingChanged", "No bone was changed. Rotate or scale a bone in the Skeleton Tree first.");
    Type("BoneName", "Tail");
    ExpectRefused("BoneNotFound", "Bone 'Tail' was not found in this skeleton. Nothing was changed.");
    Press("Use Selected Bone");
    ExpectRefused("NoBoneSelected", "No bone is selected. Click a bone in the Skeleton Tree first.");
    Editor.GetPreviewComponent()->SetSelectedBoneIndices({9});
    Press("Use Selected Bone");
    ExpectRefused("SelectedBoneInvalid", "The selected bone no longer exists in this skeleton.");

    Editor.GetPreviewComponent()->SetSkeletalMeshAsset(nullptr);
    Press("Apply to Preview");
    ExpectRefused("NoPreviewForRotate", "Could not reach the preview mesh. Nothing was changed.");
    Press("Use Selected Bone");
    ExpectRefused("NoPreviewForSelect", "Could not reach the preview mesh.");
    Press("Bake");
    ExpectRefused("NoPreview", "Could not reach the preview mesh. Nothing was changed.");
    Press("Fix Animations Now");
    ExpectRefused("NoSkeleton", "Could not reach the skeleton. Nothing was changed.");
    Press("Refresh");
    EXPECT_EQ(Tool->GetSettings()->Detected, "Preview component not found.");
}

TEST_F(BakeToolTest, OneRequestRunsPerTickInItsOrderAndUseSelectedBoneFillsTheName)
{
    Editor.GetPreviewComponent()->SetSelectedBoneIndices({3, 1});
    FString Error;
    Editor.PressButton("Refresh", Error);
    Editor.PressButton("Apply to Preview", Error);
    Editor.PressButton("Use Selected Bone", Error);

    Editor.Tick();
    EXPECT_EQ(Tool->GetSettings()->BoneName, "Head");
    EXPECT_TRUE(Tool->bPendingApply && Tool->bPendingRefresh);
    Editor.Tick();
    EXPECT_FALSE(Tool->bPendingApply);
    EXPECT_TRUE(Tool->bPendingRefresh);
    Editor.Tick();
    EXPECT_FALSE(Tool->bPendingRefresh);
    ExpectLastMessage(Editor, TextNamespace, "BoneTaken", "Bone Name set to 'Head'.", EToolMessageLevel::UserNotification);
}

TEST_F(BakeToolTest, FixAnimationsSwitchesTheSkeletonOnceLogsItsBonesAndUndoes)
{
    const TArray<FBoneTreeNode> Modes = Asset.Skeleton->GetBoneTree();
    Press("Fix Animations Now");
    ExpectLastMessage(Editor, TextNamespace, "FixAnimDone",
                      "4 bone(s) switched to scaled animation retargeting. Save the skeleton to keep it.",
                      EToolMessageLevel::UserNotification);
    Press("Fix Animations Now");
    ExpectLastMessage(Editor, TextNamespace, "FixAnimDone",
                      "0 bone(s) switched to scaled animation retargeting. Save the skeleton to keep it.",
                      EToolMessageLevel::UserNotification);
    EXPECT_TRUE(Editor.GetLog().ContainsMessage(
        LogCategory, "[RivetEditor] DIAG retarget bone 'Spine': mode=0 skeletonLength=2.0000 meshLength=2.0000 ratio=1.0000"));
    int32 BoneLines = 0;
    for (const FLogLine& Line : Editor.GetLog().FindLines(LogCategory))
    {
        BoneLines += Line.Message.StartsWith("[RivetEditor] DIAG retarget bone ");
    }
    EXPECT_EQ(BoneLines, 8);
    EXPECT_EQ(Editor.GetActiveTool(), Tool);
    ASSERT_TRUE(Editor.Undo());
    ASSERT_TRUE(Editor.Undo());
    EXPECT_EQ(Asset.Skeleton->GetBoneTree(), Modes);
}

TEST(BakeToolDiagnosticsTest, DetectedFoldsTheAngleIntoTheHalfOpenHalfTurn)
{
    const double S = std::sin(VT::Math::Pi * 0.75), C = std::cos(VT::Math::Pi * 0.75);
    const FTransform Turned(FQuat(0, 0, S, C), FVector::ZeroVector);
    const FTransform Negated(FQuat(0, 0, -S, -C), FVector::ZeroVector);
    EXPECT_EQ(DescribeBoneDelta("Spine", Turned),
              "\n  Spine\n    rotate -90.0 deg about (0.00, 0.00, 1.00)\n    scale 1.000");
    EXPECT_EQ(DescribeBoneDelta("Spine", Negated),
              "\n  Spine\n    rotate 90.0 deg about (0.00, 0.00, -1.00)\n    scale 1.000");
    const double Folds[][2] = {{0, 0}, {180, 180}, {-180, 180}, {190, -170}, {540, 180}, {-725, -5}};
    for (const auto& [Angle, Folded] : Folds)
    {
        EXPECT_DOUBLE_EQ(FoldAngleDegrees(Angle), Folded) << Angle;
    }
}
