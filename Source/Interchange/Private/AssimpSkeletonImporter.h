#pragma once

#include "Engine/Animation/ReferenceSkeleton.h"
#include "Interchange/Private/AssimpNodeGraph.h"

#include <string>
#include <unordered_map>

/** Which bone each node and each bone of the scene's meshes became. */
struct FAssimpSkeletonBinding
{
    /** Per node its bone, or INDEX_NONE. */
    TArray<int32> BoneOfNode;
    /** Per name of a mesh bone, its bone. */
    std::unordered_map<std::string, int32> BoneOfMeshBone;
};

/**
 * Builds the reference skeleton from the bones of the scene's meshes: one bone per node that a mesh
 * bone names, in node order (parents first), its bind pose (from the bone's offset matrix) as
 * reference pose. Bones that share no root get a common root bone. A mesh bone whose node is missing
 * (cut-short exporters write such files) is placed under the skeleton's root from its offset matrix,
 * with a warning. Throws FInterchangeFailure on non-finite offsets.
 */
FAssimpSkeletonBinding ImportAssimpSkeleton(const aiScene& Scene, const FAssimpNodeGraph& Graph,
                                            FReferenceSkeleton& OutSkeleton, TArray<FString>& OutWarnings);
