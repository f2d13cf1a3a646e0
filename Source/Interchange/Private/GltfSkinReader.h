#pragma once

#include "Interchange/Private/GltfAccessorReader.h"
#include "Interchange/Private/GltfVertexBlocks.h"

/**
 * Reads the influences of a skinned block from its JOINTS_n / WEIGHTS_n sets, JointBones giving the
 * bone of each joint of the skin; weights of zero are left out. False, with nothing read, when the
 * block has no such set. Throws FInterchangeFailure on negative weights and joints out of range.
 */
bool ReadGltfSkinInfluences(const FGltfAccessorReader& Reader, const FGltfVertexBlock& Block,
                            const TArray<int32>& JointBones, FSourceMesh& Mesh);
