#pragma once

#include "Engine/Animation/ReferenceSkeleton.h"
#include "Interchange/Private/AssimpNodeGraph.h"

/**
 * Builds the reference skeleton from the bones of the scene's meshes: one bone per node that a mesh
 * bone names, in node order (parents first), its bind pose (from the bone's offset matrix) as
 * reference pose. Bones that share no root get a common root bone. Returns each node's bone, or
 * INDEX_NONE. Throws FInterchangeFailure on bones without a node and non-finite offsets.
 */
TArray<int32> ImportAssimpSkeleton(const aiScene& Scene, const FAssimpNodeGraph& Graph,
                                   FReferenceSkeleton& OutSkeleton);
