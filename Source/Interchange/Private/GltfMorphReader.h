#pragma once

#include "Interchange/Private/GltfAccessorReader.h"
#include "Interchange/Private/GltfVertexBlocks.h"
#include "Interchange/Private/VertexPlacement.h"

/**
 * Reads the position and normal offsets of a block's morph targets, placed into host space, into the
 * block's morph targets of Mesh. Throws FInterchangeFailure on a malformed target.
 */
void ReadGltfMorphDeltas(const FGltfAccessorReader& Reader, const FGltfVertexBlock& Block,
                         const FVertexPlacement& Placement, FSourceMesh& Mesh);
