#pragma once

#include "Interchange/Private/GltfAccessorReader.h"
#include "Interchange/Private/GltfVertexBlocks.h"
#include "Interchange/Private/VertexPlacement.h"

/**
 * Reads a block's vertex attributes into the arrays Mesh was laid out with: positions, normals and
 * tangents placed into host space, texture coordinates, colours and the vertex IDs this exporter
 * writes. Throws FInterchangeFailure on a missing or malformed attribute.
 */
void ReadGltfVertices(const FGltfAccessorReader& Reader, const FGltfVertexBlock& Block,
                      const FVertexPlacement& Placement, FSourceMesh& Mesh);
