#include "Support/SkeletalAssetSnapshot.h"

#include "Engine/Animation/AnimSequence.h"
#include "Engine/Materials/Material.h"
#include "Engine/SkeletalMesh/SkeletalMesh.h"

FSkeletalAssetSnapshot::FSkeletalAssetSnapshot(const USkeletalMesh& Mesh,
                                               const TArray<UAnimSequence*>& Animations)
    : MeshSnapshot(Mesh)
{
    if (const USkeleton* Skeleton = Mesh.GetSkeleton())
    {
        SkeletonBones = Skeleton->GetReferenceSkeleton();
        BoneTree = Skeleton->GetBoneTree();
        for (const USkeletalMeshSocket* Socket : Skeleton->Sockets)
        {
            SkeletonSockets.Add(FSocketSnapshot(*Socket));
        }
    }
    if (const UPhysicsAsset* PhysicsAsset = Mesh.GetPhysicsAsset())
    {
        for (const USkeletalBodySetup* Body : PhysicsAsset->SkeletalBodySetups)
        {
            BodyBones.Add(Body->BoneName);
            BodyShapes.Add(Body->AggGeom);
        }
        for (const UPhysicsConstraintTemplate* Constraint : PhysicsAsset->ConstraintSetup)
        {
            Constraints.Add(Constraint->DefaultInstance);
        }
    }
    for (const UAnimSequence* Animation : Animations)
    {
        const UAnimationDataModel* Model = Animation->GetDataModel();
        AnimationKeyCounts.Add(Model ? Model->GetNumberOfKeys() : 0);
        AnimationTracks.Add(Model ? Model->GetBoneAnimationTracks() : TArray<FAnimationBoneTrack>());
    }
}

FSkeletalAssetSnapshot SnapshotFileContent(const USkeletalMesh& Mesh,
                                           const TArray<UAnimSequence*>& Animations,
                                           TArray<FString>& OutNames)
{
    FSkeletalAssetSnapshot Snapshot(Mesh, Animations);
    Snapshot.MeshSnapshot.DerivedDataKey = FGuid();
    for (FSkeletalMaterial& Slot : Snapshot.MeshSnapshot.Materials)
    {
        OutNames.Add(Slot.Material ? Slot.Material->GetName() : FString());
        Slot.Material = nullptr;
    }
    for (const UAnimSequence* Animation : Animations)
    {
        OutNames.Add("animation " + Animation->GetName());
    }
    return Snapshot;
}
