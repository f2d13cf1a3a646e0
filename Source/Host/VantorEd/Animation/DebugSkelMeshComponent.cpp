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
        // Preview state is the editor's, never the asset's: it is not saved, and undo records it only
        // when a tool marks it transactional.
        PreviewInstance = NewObject<UAnimPreviewInstance>(this, FName("PreviewInstance"));
        PreviewInstance->SetFlags(RF_Transient);
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
