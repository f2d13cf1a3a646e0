#pragma once

#include "Core/Math/BoxSphereBounds.h"
#include "Core/Math/Matrix.h"
#include "Core/Math/Rotator.h"
#include "Core/Math/Vector.h"
#include "Core/Misc/Guid.h"
#include "Engine/Animation/ReferenceSkeleton.h"
#include "Engine/SkeletalMesh/ImportedModel.h"
#include "Engine/SkeletalMesh/MorphTarget.h"
#include "Engine/SkeletalMesh/SkeletalLODInfo.h"
#include "Engine/SkeletalMesh/SkeletalMaterial.h"
#include "MeshDescription/MeshDescription.h"

#include <optional>

class USkeletalMesh;
class USkeletalMeshSocket;

/** A socket's name, bone and transform. */
struct FSocketSnapshot
{
    explicit FSocketSnapshot(const USkeletalMeshSocket& Socket);

    FName SocketName;
    FName BoneName;
    FVector Location;
    FRotator Rotation;
    FVector Scale;

    bool operator==(const FSocketSnapshot&) const = default;
};

/** A morph target's name and its deltas per LOD. */
struct FMorphTargetSnapshot
{
    FName Name;
    TArray<FMorphTargetLODData> LODs;

    bool operator==(const FMorphTargetSnapshot&) const = default;
};

/**
 * A copy of what the tools may change on a skeletal mesh: every LOD's description and settings, the
 * material slots, the imported model (render sections and buffers), the morph targets' deltas, the
 * reference skeleton with its inverse reference matrices, the mesh sockets, the imported bounds and the
 * derived-data key (which every commit renews). Two snapshots are equal when nothing of that changed in
 * between.
 */
struct FSkeletalMeshSnapshot
{
    explicit FSkeletalMeshSnapshot(const USkeletalMesh& Mesh);

    TArray<std::optional<FMeshDescription>> Descriptions;
    TArray<FSkeletalLODInfo> LODInfos;
    TArray<FSkeletalMaterial> Materials;
    FSkeletalMeshImportedModel ImportedModel;
    TArray<FMorphTargetSnapshot> MorphTargets;
    FReferenceSkeleton RefSkeleton;
    TArray<FMatrix44f> RefBasesInvMatrix;
    TArray<FSocketSnapshot> Sockets;
    FBoxSphereBounds ImportedBounds;
    FGuid DerivedDataKey;

    bool operator==(const FSkeletalMeshSnapshot&) const = default;
};
