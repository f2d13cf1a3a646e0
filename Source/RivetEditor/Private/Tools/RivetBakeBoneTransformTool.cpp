#include "RivetEditor/Private/Tools/RivetBakeBoneTransformTool.h"

#include "AnimGraph/Animation/AnimPreviewInstance.h"
#include "Core/Math/ForwardKinematics.h"
#include "Core/Text/LocText.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Engine/World/World.h"
#include "InteractiveToolsFramework/Tools/InteractiveToolManager.h"
#include "RivetEditor/Private/Ops/RivetBakeBoneOp.h"
#include "RivetEditor/Private/Ops/RivetBakeRetargeting.h"
#include "RivetEditor/Private/Tools/RivetBakeToolDiagnostics.h"
#include "RivetEditorLog.h"
#include "VantorEd/Animation/DebugSkelMeshComponent.h"
#include "VantorEd/Transactions/TransactionBuffer.h"

#include <utility>

#define VT_LOCTEXT_NAMESPACE "RivetBakeBoneTransformTool"

namespace
{
FString FormatVector(const FVector& Vector)
{
    return FString::Printf("X=%3.3f Y=%3.3f Z=%3.3f", Vector.X, Vector.Y, Vector.Z);
}

FString FormatRotator(const FRotator& Rotator)
{
    return FString::Printf("P=%f Y=%f R=%f", Rotator.Pitch, Rotator.Yaw, Rotator.Roll);
}

/** The bone's transform in component space in the reference pose. */
FTransform ReferenceComponentSpace(const FReferenceSkeleton& Skeleton, int32 Bone)
{
    TArray<FTransform> Pose;
    VT::Math::FillComponentSpaceTransforms(Skeleton.GetRefBonePose(), Skeleton.GetParentIndices(), Pose);
    return Pose[Bone];
}

/** The panel's rotation applied after the reference rotation, normalized (identity when degenerate). */
FQuat PanelRotationOnto(const FRotator& Rotation, const FQuat& Reference)
{
    const FQuat Turned = Rotation.Quaternion() * Reference;
    return Turned.SizeSquared() < 1e-8 ? FQuat::Identity : Turned * (1.0 / Turned.Size());
}

/** A panel that asks for nothing: no move, no turn, the bone's own reference scale. */
bool IsNeutralPanel(const URivetBakeBoneTransformToolProperties& Settings, const FTransform& Reference)
{
    return Settings.Location.IsNearlyZero() && Settings.Rotation.IsNearlyZero() &&
           Settings.Scale.Equals(Reference.GetScale3D());
}

/** The names of the controllers' bones in controller order, each once. */
TArray<FName> ControlledBoneNames(const UAnimPreviewInstance& Instance)
{
    TArray<FName> Names;
    for (const FAnimNode_ModifyBone& Controller : Instance.GetBoneControllers())
    {
        Names.AddUnique(Controller.BoneToModify);
    }
    return Names;
}
} // namespace

bool URivetBakeBoneTransformToolBuilder::CanBuildTool(const FToolBuilderState& SceneState) const
{
    return SceneState.World != nullptr;
}

UInteractiveTool* URivetBakeBoneTransformToolBuilder::BuildTool(const FToolBuilderState& SceneState) const
{
    URivetBakeBoneTransformTool* Tool = NewObject<URivetBakeBoneTransformTool>(SceneState.ToolManager);
    Tool->TargetWorld = SceneState.World;
    return Tool;
}

void URivetBakeBoneTransformToolProperties::UseSelectedBoneNow()
{
    if (URivetBakeBoneTransformTool* Tool = ParentTool.Get())
    {
        Tool->bPendingUseSelectedBone = true;
    }
}

void URivetBakeBoneTransformToolProperties::ApplyRotationNow()
{
    if (URivetBakeBoneTransformTool* Tool = ParentTool.Get())
    {
        Tool->bPendingApply = true;
    }
}

void URivetBakeBoneTransformToolProperties::BakeNow()
{
    if (URivetBakeBoneTransformTool* Tool = ParentTool.Get())
    {
        Tool->bPendingBake = true;
    }
}

void URivetBakeBoneTransformToolProperties::FixAnimationsNow()
{
    if (URivetBakeBoneTransformTool* Tool = ParentTool.Get())
    {
        Tool->bPendingFixAnimations = true;
    }
}

void URivetBakeBoneTransformToolProperties::RefreshNow()
{
    if (URivetBakeBoneTransformTool* Tool = ParentTool.Get())
    {
        Tool->bPendingRefresh = true;
    }
}

void URivetBakeBoneTransformTool::Setup()
{
    Super::Setup();
    Settings = NewObject<URivetBakeBoneTransformToolProperties>(this);
    Settings->ParentTool = this;
    AddToolPropertySource(Settings);
    SetToolDisplayName(VT_LOCTEXT("ToolName", "Bake Bone Transform"));
    Show(VT_LOCTEXT("ToolStartup", "Select a bone in the Skeleton Tree and press Use Selected Bone. Location, "
                                   "Rotation and Scale show in the viewport as you type. Then press Bake."),
         /*bWarning=*/false);
    RefreshDetected();
}

void URivetBakeBoneTransformTool::OnPropertyModified(UObject* PropertySet, const FProperty* Property)
{
    (void)Property;
    if (PropertySet == Settings)
    {
        bPendingApply = true;
    }
}

void URivetBakeBoneTransformTool::OnTick(float DeltaTime)
{
    Super::OnTick(DeltaTime);
    if (std::exchange(bPendingBake, false))
    {
        Bake();
    }
    else if (std::exchange(bPendingFixAnimations, false))
    {
        FixAnimations();
    }
    else if (std::exchange(bPendingUseSelectedBone, false))
    {
        UseSelectedBone();
    }
    else if (std::exchange(bPendingApply, false))
    {
        ApplyToPreview();
    }
    else if (std::exchange(bPendingRefresh, false))
    {
        RefreshDetected();
    }
}

FRivetBakePreview URivetBakeBoneTransformTool::FindPreview() const
{
    FRivetBakePreview Preview;
    if (!TargetWorld)
    {
        return Preview;
    }
    TargetWorld->ForEachActor(
        [&Preview](UActor* Actor)
        {
            Actor->ForEachComponent<UDebugSkelMeshComponent>(
                [&Preview](UDebugSkelMeshComponent* Component)
                {
                    if (!Preview.Component && Component->GetSkeletalMeshAsset())
                    {
                        Preview.Component = Component;
                    }
                });
        });
    if (Preview.Component)
    {
        Preview.Mesh = Preview.Component->GetSkeletalMeshAsset();
        Preview.Instance = Preview.Component->GetPreviewInstance();
    }
    return Preview;
}

void URivetBakeBoneTransformTool::ApplyToPreview()
{
    const FRivetBakePreview Preview = FindPreview();
    if (!Preview.Component || !Preview.Mesh || !Preview.Instance)
    {
        Show(VT_LOCTEXT("NoPreviewForRotate", "Could not reach the preview mesh. Nothing was changed."), true);
        return;
    }
    const FReferenceSkeleton& Skeleton = Preview.Mesh->GetRefSkeleton();
    const FName Bone = !Settings->BoneName.IsEmpty() ? FName(Settings->BoneName)
                       : Skeleton.GetNum() > 0       ? Skeleton.GetBoneName(0)
                                                     : NAME_None;
    const int32 BoneIndex = Skeleton.FindBoneIndex(Bone);
    if (BoneIndex == INDEX_NONE)
    {
        Show(FText::Format(VT_LOCTEXT("BoneNotFound",
                                      "Bone '{0}' was not found in this skeleton. Nothing was changed."),
                           Bone.ToString()),
             true);
        return;
    }
    const FTransform Reference = ReferenceComponentSpace(Skeleton, BoneIndex);
    // A panel that asks for nothing makes no edit: touching an option must not bake an untouched bone.
    if (!Preview.Instance->FindModifiedBone(Bone) && IsNeutralPanel(*Settings, Reference))
    {
        VT_LOG(LogRivetEditor, Display, "[RivetEditor] Apply: bone='%s' left unedited: the panel is neutral",
               *Bone.ToString());
        RefreshDetected();
        return;
    }
    const FQuat Rotation = PanelRotationOnto(Settings->Rotation, Reference.GetRotation());
    // The host records every object that is not transient, so the instance is transactional as it is.
    Preview.Instance->Modify(true);
    FAnimNode_ModifyBone& Controller = Preview.Instance->ModifyBone(Bone, false);
    Controller.Translation = Reference.GetTranslation() + Settings->Location;
    Controller.Rotation = Rotation.Rotator();
    Controller.Scale = Settings->Scale;
    Controller.TranslationMode = Controller.RotationMode = Controller.ScaleMode = EBoneEditMode::Replace;
    Controller.TranslationSpace = Controller.RotationSpace = Controller.ScaleSpace = EBoneEditSpace::Component;
    Preview.Component->RefreshBoneTransforms();
    Preview.Component->MarkRenderStateDirty();
    VT_LOG(LogRivetEditor, Display, "[RivetEditor] Apply: bone='%s' location=%s rotation=%s scale=%s",
           *Bone.ToString(), *FormatVector(Settings->Location), *FormatRotator(Settings->Rotation),
           *FormatVector(Settings->Scale));
    RefreshDetected();
}

void URivetBakeBoneTransformTool::UseSelectedBone()
{
    const FRivetBakePreview Preview = FindPreview();
    if (!Preview.Component || !Preview.Mesh)
    {
        Show(VT_LOCTEXT("NoPreviewForSelect", "Could not reach the preview mesh."), true);
        return;
    }
    const TArray<int32>& Selected = Preview.Component->GetSelectedBoneIndices();
    if (Selected.IsEmpty())
    {
        Show(VT_LOCTEXT("NoBoneSelected", "No bone is selected. Click a bone in the Skeleton Tree first."), true);
        return;
    }
    const FReferenceSkeleton& Skeleton = Preview.Mesh->GetRefSkeleton();
    if (!Skeleton.IsValidIndex(Selected[0]))
    {
        Show(VT_LOCTEXT("SelectedBoneInvalid", "The selected bone no longer exists in this skeleton."), true);
        return;
    }
    Settings->BoneName = Skeleton.GetBoneName(Selected[0]).ToString();
    VT_LOG(LogRivetEditor, Display, "[RivetEditor] Selected bone: '%s'", *Settings->BoneName);
    Show(FText::Format(VT_LOCTEXT("BoneTaken", "Bone Name set to '{0}'."), Settings->BoneName), false);
    RefreshDetected();
}

void URivetBakeBoneTransformTool::Bake()
{
    const FRivetBakePreview Preview = FindPreview();
    if (!Preview.Component || !Preview.Mesh || !Preview.Instance)
    {
        Show(VT_LOCTEXT("NoPreview", "Could not reach the preview mesh. Nothing was changed."), true);
        return;
    }
    if (Preview.Instance->GetBoneControllers().IsEmpty())
    {
        Show(VT_LOCTEXT("NothingChanged",
                        "No bone was changed. Rotate or scale a bone in the Skeleton Tree first."),
             true);
        return;
    }
    FRivetBakeBoneParams Params;
    Params.ComponentSpacePose = Preview.Component->GetComponentSpaceTransforms();
    Params.BoneNames = ControlledBoneNames(*Preview.Instance);
    Params.bZeroTheBone = Settings->bZeroTheBone;
    Params.bVerboseLog = Settings->bVerboseLog;
    Params.bRetargetAnimationScaled = Settings->bRetargetAnimationScaled;
    Params.bBakeIntoAnimations = Settings->bBakeIntoAnimations;
    Params.bUpdatePhysicsAsset = Settings->bUpdatePhysicsAsset;
    Params.bLocalizeSkeletonSockets = Settings->bLocalizeSkeletonSockets;
    Params.bPostEditChange = true;

    FScopedTransaction Transaction(VT_LOCTEXT("BakeTransaction", "Bake Bone Transform"));
    Preview.Mesh->Modify(true);
    LogFloorDiagnostics("BEFORE bake", Preview.Component);
    FRivetBakeBoneResult Result;
    BakeBoneTransform(Result, Preview.Mesh, Params);
    if (!Result.bSuccess)
    {
        Show(Result.Message, true);
        return;
    }
    LogFloorDiagnostics("after PostEditChange", Preview.Component);
    // Recorded with the bake, so that undo brings back the pose the user baked on the mesh it came from.
    Preview.Instance->Modify(true);
    Preview.Instance->ResetModifiedBone(false);
    Preview.Component->ReinitializeAnimation();
    Preview.Mesh->OnMeshChanged().Broadcast(Preview.Mesh);
    LogFloorDiagnostics("after preview refresh", Preview.Component);
    Show(FText::Format(VT_LOCTEXT("BakeDone", "Baked {0} bone(s): {1} vertices moved, {2} child bone(s) "
                                              "compensated, {3} bone(s) switched to scaled retargeting, {4} "
                                              "animation(s), {5} morph target(s), {6} socket(s) and {7} "
                                              "physics body(ies) updated."),
                       Params.BoneNames.Num(), Result.VerticesMoved, Result.ChildBonesCompensated,
                       Result.BonesSwitchedToScaled, Result.AnimationsUpdated, Result.MorphTargets,
                       Result.SocketsUpdated, Result.PhysicsBodiesResized),
         false);
    if (Result.SocketsCopiedFromSkeleton > 0)
    {
        Show(FText::Format(VT_LOCTEXT("SocketsLocalized",
                                      "{0} socket(s) were copied from the Skeleton onto this mesh and resized. "
                                      "The Skeleton's own sockets were left untouched for other meshes."),
                           Result.SocketsCopiedFromSkeleton),
             false);
    }
    if (Result.PhysicsBodiesResized > 0)
    {
        Show(FText::Format(VT_LOCTEXT("PhysicsAssetName", "Resized physics asset '{0}' — this is the one "
                                                          "assigned to the mesh. Save it to keep the change."),
                           Result.PhysicsAssetName),
             false);
    }
    if (Result.PhysicsShapesSkipped > 0)
    {
        Show(FText::Format(VT_LOCTEXT("PhysicsShapesSkipped", "{0} physics shape(s) could not be resized (level "
                                                              "sets are not supported). Check the physics asset."),
                           Result.PhysicsShapesSkipped),
             true);
    }
    if (Result.SkeletonSocketsLeftUntouched > 0)
    {
        Show(FText::Format(VT_LOCTEXT("SkeletonSockets",
                                      "{0} socket(s) live on the Skeleton asset and were left untouched — they "
                                      "are shared with every mesh that uses this skeleton. Tick 'Localize "
                                      "Skeleton Sockets' to copy them onto this mesh instead."),
                           Result.SkeletonSocketsLeftUntouched),
             true);
    }
    if (Result.bAnimationsSkipped)
    {
        Show(VT_LOCTEXT("AnimSkipped",
                        "Animations were left untouched: only a root bone bake can be applied to them."),
             true);
    }
    if (UInteractiveToolManager* Manager = GetToolManager())
    {
        Manager->PostActiveToolShutdownRequest(this, EToolShutdownType::Completed, false, FText());
    }
}

void URivetBakeBoneTransformTool::FixAnimations()
{
    const FRivetBakePreview Preview = FindPreview();
    USkeleton* Skeleton = Preview.Mesh ? Preview.Mesh->GetSkeleton() : nullptr;
    if (!Preview.Component || !Skeleton)
    {
        Show(VT_LOCTEXT("NoSkeleton", "Could not reach the skeleton. Nothing was changed."), true);
        return;
    }
    LogRetargetDiagnosis(*Preview.Mesh);
    FScopedTransaction Transaction(VT_LOCTEXT("FixAnimTransaction", "Fix Animation Retargeting"));
    const int32 Switched = SwitchSkeletonToScaledRetargeting(Skeleton);
    VT_LOG(LogRivetEditor, Display, "[RivetEditor] Retargeting: %d bone(s) switched to AnimationScaled ('%s')",
           Switched, *Skeleton->GetName());
    Show(FText::Format(VT_LOCTEXT("FixAnimDone",
                                  "{0} bone(s) switched to scaled animation retargeting. Save the skeleton to "
                                  "keep it."),
                       Switched),
         false);
}

void URivetBakeBoneTransformTool::RefreshDetected()
{
    const FRivetBakePreview Preview = FindPreview();
    Settings->Detected = DescribeDetected(Preview.Component, Preview.Instance);
}

void URivetBakeBoneTransformTool::Show(const FText& Text, bool bWarning) const
{
    if (UInteractiveToolManager* Manager = GetToolManager())
    {
        Manager->DisplayMessage(Text, bWarning ? EToolMessageLevel::UserWarning
                                               : EToolMessageLevel::UserNotification);
    }
}

#undef VT_LOCTEXT_NAMESPACE
