#include "Engine/Components/SkeletalMeshComponent.h"

#include "Core/Math/ForwardKinematics.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"

void USkeletalMeshComponent::SetSkeletalMeshAsset(USkeletalMesh* Mesh)
{
    SkeletalMeshAsset = Mesh;
    RefreshBoneTransforms();
    MarkRenderStateDirty();
}

void USkeletalMeshComponent::RefreshBoneTransforms()
{
    ComponentSpaceTransforms.Reset();
    if (!SkeletalMeshAsset)
    {
        return;
    }
    TArray<FTransform> LocalPose;
    EvaluateLocalPose(LocalPose);
    VT::Math::FillComponentSpaceTransforms(LocalPose, SkeletalMeshAsset->GetRefSkeleton().GetParentIndices(),
                                           ComponentSpaceTransforms);
}

void USkeletalMeshComponent::EvaluateLocalPose(TArray<FTransform>& OutLocalPose) const
{
    OutLocalPose = SkeletalMeshAsset->GetRefSkeleton().GetRefBonePose();
}

FBoxSphereBounds USkeletalMeshComponent::CalcBounds(const FTransform& LocalToWorld) const
{
    if (!SkeletalMeshAsset)
    {
        return Super::CalcBounds(LocalToWorld);
    }
    return PlaceLocalBox(SkeletalMeshAsset->GetImportedBounds().GetBox(), LocalToWorld);
}
