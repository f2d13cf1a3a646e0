#pragma once

#include "Interchange/Private/GltfMeshInstance.h"
#include "Interchange/Private/GltfNodeGraph.h"
#include "Interchange/Private/GltfSkeletonImporter.h"
#include "Interchange/Private/ImportedScene.h"
#include "Interchange/Private/SourceMesh.h"

#include <tiny_gltf.h>

/** What the meshes of one LOD are read from. */
struct FGltfMeshInput
{
    const tinygltf::Model& Model;
    const FGltfNodeGraph& Graph;
    const FGltfSkeletonBinding& Binding;
    const TArray<FGltfMeshInstance>& Instances;
    /** The file is this exporter's own: polygon groups and slot names come from its extras. */
    bool bOwnExtras = false;
};

struct FGltfMeshOutput
{
    FSourceMesh Mesh;
    /** One slot per material, in the order of first use; none for this exporter's own files. */
    TArray<FImportedSlot> Slots;
    /** The slot each polygon group draws with, by group ID; empty for this exporter's own files. */
    TArray<int32> SlotOfGroup;
    /** Notes about what was left out. */
    TArray<FString> Warnings;
};

/**
 * Reads glTF meshes into file geometry in host space. Primitives that share their vertex accessors
 * share their file vertices. Skinned meshes stay in their bind space; other meshes are placed by
 * their node and bound wholly to the nearest joint above them (or to the root bone). Polygon groups
 * come from this exporter's extras or from the materials (see FGltfPrimitiveGroups). Throws
 * FInterchangeFailure on bad data.
 */
void ReadGltfMeshes(const FGltfMeshInput& Input, FGltfMeshOutput& Output);
