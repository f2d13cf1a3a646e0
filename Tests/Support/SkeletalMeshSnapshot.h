#pragma once

#include "Core/Misc/Guid.h"
#include "Engine/Animation/ReferenceSkeleton.h"
#include "Engine/SkeletalMesh/SkeletalLODInfo.h"
#include "Engine/SkeletalMesh/SkeletalMaterial.h"
#include "MeshDescription/MeshDescription.h"

#include <optional>

class USkeletalMesh;

/**
 * A copy of what the tools may change on a skeletal mesh: every LOD's description and settings, the
 * material slots, the reference skeleton, the mesh sockets' names and bones, and the derived-data key
 * (which every commit renews). Two snapshots are equal when nothing of that changed in between.
 */
struct FSkeletalMeshSnapshot
{
    explicit FSkeletalMeshSnapshot(const USkeletalMesh& Mesh);

    TArray<std::optional<FMeshDescription>> Descriptions;
    TArray<FSkeletalLODInfo> LODInfos;
    TArray<FSkeletalMaterial> Materials;
    FReferenceSkeleton RefSkeleton;
    TArray<FString> Sockets;
    FGuid DerivedDataKey;

    bool operator==(const FSkeletalMeshSnapshot&) const = default;
};
