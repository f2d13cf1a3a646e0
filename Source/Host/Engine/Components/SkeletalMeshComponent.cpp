#include "Engine/Components/SkeletalMeshComponent.h"

#include "Core/Math/ForwardKinematics.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"
#include "Engine/SkeletalMesh/SkinnedBounds.h"
#include "MeshDescription/MeshDescription.h"

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
    EvaluateComponentSpacePose(SkeletalMeshAsset->GetRefSkeleton().GetRefBonePose(), ComponentSpaceTransforms);
}

void USkeletalMeshComponent::EvaluateComponentSpacePose(const TArray<FTransform>& LocalPose,
                                                        TArray<FTransform>& OutComponentSpace) const
{
    VT::Math::FillComponentSpaceTransforms(LocalPose, SkeletalMeshAsset->GetRefSkeleton().GetParentIndices(),
                                           OutComponentSpace);
}

FBoxSphereBounds USkeletalMeshComponent::CalcBounds(const FTransform& LocalToWorld) const
{
    if (!SkeletalMeshAsset)
    {
        return Super::CalcBounds(LocalToWorld);
    }
    const FMeshDescription* Description = SkeletalMeshAsset->GetMeshDescription(0);
    if (!Description || Description->Vertices().Num() == 0)
    {
        return PlaceLocalBox(SkeletalMeshAsset->GetImportedBounds().GetBox(), LocalToWorld);
    }
    TArray<FTransform> ReferencePose;
    VT::Math::FillComponentSpaceTransforms(SkeletalMeshAsset->GetRefSkeleton().GetRefBonePose(),
                                           SkeletalMeshAsset->GetRefSkeleton().GetParentIndices(), ReferencePose);
    return PlaceLocalBox(ComputeSkinnedBox(*Description, ReferencePose, ComponentSpaceTransforms), LocalToWorld);
}
