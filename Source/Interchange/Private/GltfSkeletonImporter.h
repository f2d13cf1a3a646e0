#pragma once

#include "Core/Containers/Array.h"
#include "Engine/Animation/ReferenceSkeleton.h"
#include "Interchange/Private/GltfNodeGraph.h"

#include <tiny_gltf.h>

/** Which bone each node and each skin joint became. */
struct FGltfSkeletonBinding
{
    /** Per node its bone, or INDEX_NONE. */
    TArray<int32> BoneOfNode;
    /** Per bone its node, or INDEX_NONE for a root the import added. */
    TArray<int32> NodeOfBone;
    /** Per skin, per joint, its bone. */
    TArray<TArray<int32>> SkinJointBones;
};

/**
 * Builds the reference skeleton from the joints of the given skins: parents before children (the
 * skins' order where it allows), names kept (empty names become "Bone_<node>", repeats get a
 * suffix), the bind pose as reference pose. The bind pose is the nodes' pose when it agrees with the
 * inverse bind matrices and is taken from those matrices otherwise. Joints that share no root get a
 * common root bone; without skins the skeleton is one root bone. Throws FInterchangeFailure on bad
 * joint lists.
 */
void ImportGltfSkeleton(const tinygltf::Model& Model, const FGltfNodeGraph& Graph, const TArray<int32>& Skins,
                        FReferenceSkeleton& OutSkeleton, FGltfSkeletonBinding& OutBinding);
