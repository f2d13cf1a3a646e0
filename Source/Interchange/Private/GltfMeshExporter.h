#pragma once

#include "Core/Containers/String.h"
#include "Interchange/Private/GltfBufferWriter.h"

#include <nlohmann/json.hpp>
#include <tiny_gltf.h>

class FMeshDescription;
struct FSkeletalLODInfo;

/** What writing one LOD's mesh produced. */
struct FGltfMeshExport
{
    int32 MeshIndex = INDEX_NONE;
    /** Vertices whose influences did not fit into four. */
    int32 NumDroppedVertices = 0;
};

/**
 * Writes a mesh description as one glTF mesh: every vertex instance becomes one file vertex (all
 * primitives share the vertex accessors, so the instances stay one each), one primitive per polygon
 * group with triangles, drawing with the file material MaterialOfGroup gives it (INDEX_NONE for none).
 * Joints are bone indices. Influences
 * beyond the four heaviest are dropped from the vertex data, the rest renormalised, and the full
 * lists kept in the mesh's extras. Morph targets carry their names in "targetNames".
 */
FGltfMeshExport WriteGltfMesh(const FMeshDescription& Description, const TArray<int32>& MaterialOfGroup,
                              const FString& Name, FGltfBufferWriter& Writer, tinygltf::Model& Model);
