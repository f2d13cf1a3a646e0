#pragma once

#include "Engine/Animation/AnimationBoneTrack.h"
#include "Engine/Animation/Skeleton.h"
#include "Engine/PhysicsEngine/AggregateGeometry.h"
#include "Engine/PhysicsEngine/PhysicsConstraintSetup.h"
#include "Support/SkeletalMeshSnapshot.h"

class UAnimSequence;

/**
 * A copy of everything a bake may change: the mesh (FSkeletalMeshSnapshot); its skeleton's bones,
 * retargeting modes and sockets; its physics asset's bodies and constraints; and the keyed data of the
 * animations given. Equal snapshots mean nothing of that changed in between.
 */
struct FSkeletalAssetSnapshot
{
    FSkeletalAssetSnapshot(const USkeletalMesh& Mesh, const TArray<UAnimSequence*>& Animations);

    FSkeletalMeshSnapshot MeshSnapshot;
    FReferenceSkeleton SkeletonBones;
    TArray<FBoneTreeNode> BoneTree;
    TArray<FSocketSnapshot> SkeletonSockets;
    TArray<FName> BodyBones;
    TArray<FKAggregateGeometry> BodyShapes;
    TArray<FPhysicsConstraintSetup> Constraints;
    TArray<int32> AnimationKeyCounts;
    TArray<TArray<FAnimationBoneTrack>> AnimationTracks;

    bool operator==(const FSkeletalAssetSnapshot&) const = default;
};

/**
 * What a glTF file holds of an asset, for comparing an asset with what reading its file gives back: its
 * snapshot without the derived-data key (every commit renews it) and with each slot's material given by
 * name, since a read makes material objects of its own. The material names, then "animation <name>" for
 * each animation, go to OutNames.
 */
FSkeletalAssetSnapshot SnapshotFileContent(const USkeletalMesh& Mesh,
                                           const TArray<UAnimSequence*>& Animations,
                                           TArray<FString>& OutNames);
