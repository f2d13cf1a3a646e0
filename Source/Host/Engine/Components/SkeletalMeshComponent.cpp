#include "Engine/Components/SkeletalMeshComponent.h"

#include "Core/Math/ForwardKinematics.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"

void USkeletalMeshComponent::SetSkeletalMeshAsset(USkeletalMesh* Mesh)
{
    Unsubscribe();
    SkeletalMeshAsset = Mesh;
    if (Mesh)
    {
        const FDelegateHandle Handle = Mesh->OnMeshChanged().Add(
            [this](USkeletalMesh*)
            {
                RefreshBoneTransforms();
                MarkRenderStateDirty();
            });
        Subscription.Get() = {Mesh, Handle};
    }
    RefreshBoneTransforms();
    MarkRenderStateDirty();
}

void USkeletalMeshComponent::BeginDestroy()
{
    Unsubscribe();
    Super::BeginDestroy();
}

void USkeletalMeshComponent::Unsubscribe()
{
    if (USkeletalMesh* Mesh = Subscription.Get().Mesh.Get())
    {
        Mesh->OnMeshChanged().Remove(Subscription.Get().Handle);
    }
    Subscription.Get() = {};
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
