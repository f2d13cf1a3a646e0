#include "VantorEd/Animation/DebugSkelMeshComponent.h"

#include "Engine/SkeletalMesh/SkeletalMesh.h"

void UDebugSkelMeshComponent::ReinitializeAnimation()
{
    if (!GetSkeletalMeshAsset())
    {
        return;
    }
    if (!PreviewInstance)
    {
        // Preview state lives in the preview world, never in an asset's package: it is never saved, and
        // undo records it when a tool announces a change with Modify.
        PreviewInstance = NewObject<UAnimPreviewInstance>(this, FName("PreviewInstance"));
    }
    RefreshBoneTransforms();
    MarkRenderStateDirty();
}

void UDebugSkelMeshComponent::TickPose()
{
    const TArray<FTransform> Before = GetComponentSpaceTransforms();
    RefreshBoneTransforms();
    const TArray<FTransform>& After = GetComponentSpaceTransforms();
    bool bChanged = Before.Num() != After.Num();
    for (int32 Bone = 0; !bChanged && Bone < After.Num(); ++Bone)
    {
        bChanged = !Before[Bone].Equals(After[Bone], 0.0);
    }
    if (bChanged)
    {
        MarkRenderStateDirty();
    }
}

void UDebugSkelMeshComponent::EvaluateComponentSpacePose(const TArray<FTransform>& LocalPose,
                                                         TArray<FTransform>& OutComponentSpace) const
{
    if (!PreviewInstance)
    {
        Super::EvaluateComponentSpacePose(LocalPose, OutComponentSpace);
        return;
    }
    PreviewInstance->EvaluateComponentSpacePose(GetSkeletalMeshAsset()->GetRefSkeleton(), LocalPose,
                                                GetComponentTransform(), OutComponentSpace);
}
