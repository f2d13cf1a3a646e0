#pragma once

#include "Interchange/Private/GltfNodeGraph.h"
#include "Interchange/Private/GltfSkeletonImporter.h"
#include "Interchange/Private/ImportedScene.h"
#include "Interchange/Private/SourceMesh.h"

#include <tiny_gltf.h>

/** One glTF mesh to read: placed by a node (INDEX_NONE: as it is) and skinned by a skin (or INDEX_NONE). */
struct FGltfMeshInstance
{
    int32 Mesh = INDEX_NONE;
    int32 Node = INDEX_NONE;
    int32 Skin = INDEX_NONE;
};

/**
 * Reads glTF meshes into file geometry in host space. Primitives that share their vertex
 * accessors share their file vertices. Skinned meshes stay in their bind space; other meshes are
 * placed by their node and bound wholly to the nearest joint above them (or to the root bone).
 * With bOwnExtras, polygon groups and slot names come from this exporter's extras; otherwise each
 * material becomes a polygon group and a slot (added to OutSlots) named after it. Throws
 * FInterchangeFailure on bad data.
 */
void ReadGltfMeshes(const tinygltf::Model& Model, const FGltfNodeGraph& Graph,
                    const FGltfSkeletonBinding& Binding, const TArray<FGltfMeshInstance>& Instances,
                    bool bOwnExtras, FSourceMesh& OutMesh, TArray<FImportedSlot>& OutSlots,
                    TArray<FString>& OutWarnings);
