#pragma once

#include "Core/Containers/Array.h"
#include "Interchange/Private/GltfMeshInstance.h"
#include "Interchange/Private/SourceMesh.h"

#include <tiny_gltf.h>

/** A run of file vertices read from one set of vertex accessors of one mesh instance. */
struct FGltfVertexBlock
{
    int32 Instance = 0;
    /** The first primitive that reads these accessors. */
    const tinygltf::Primitive* Primitive = nullptr;
    int32 Start = 0;
    int32 Count = 0;
    /** The source mesh's morph target of each of the primitive's targets. */
    TArray<int32> Morphs;
};

/** A primitive of triangles, and the block its vertices are in. */
struct FGltfTrianglePrimitive
{
    int32 Block = 0;
    const tinygltf::Primitive* Primitive = nullptr;
};

struct FGltfVertexBlocks
{
    TArray<FGltfVertexBlock> Blocks;
    TArray<FGltfTrianglePrimitive> Primitives;
    /** Primitives of points or lines, which are not read. */
    int32 NumSkippedPrimitives = 0;
};

/**
 * Lays out the file vertices of the instances' meshes: primitives of one instance that share their
 * vertex accessors (and morph targets) share one block. Counts the vertices and names the morph
 * targets in Mesh. Throws FInterchangeFailure on meshes, modes or attributes that cannot be read.
 */
FGltfVertexBlocks CollectGltfVertexBlocks(const tinygltf::Model& Model,
                                          const TArray<FGltfMeshInstance>& Instances, FSourceMesh& Mesh);

/** The optional vertex arrays and texture coordinate sets that the blocks fill. */
FSourceMeshLayout MakeGltfLayout(const TArray<FGltfVertexBlock>& Blocks);
