#pragma once

#include "Core/Containers/Array.h"
#include "Core/CoreTypes.h"

class FMeshDescription;

/**
 * A run of triangles of one LOD that draw with one material: the triangles of one polygon group.
 * MaterialIndex is the ID of the polygon group the section was built from.
 */
struct FImportedSection
{
    uint16 MaterialIndex = 0;
    /** First index of the section in the LOD's index buffer. */
    int32 BaseIndex = 0;
    int32 NumTriangles = 0;
    /** First render vertex of the section; its vertices are contiguous. */
    int32 BaseVertexIndex = 0;
    int32 NumVertices = 0;

    bool operator==(const FImportedSection& Other) const = default;
};

/**
 * The render-ready form of one LOD, built from its mesh description: sections in ascending polygon
 * group order, a render vertex per vertex instance and section, and an index buffer.
 */
struct FImportedLODModel
{
    TArray<FImportedSection> Sections;
    /** Three render vertex indices per triangle, section after section. */
    TArray<uint32> IndexBuffer;
    /** The mesh description's vertex instance that each render vertex was made from. */
    TArray<int32> RenderVertexInstances;

    int32 GetNumVertices() const { return RenderVertexInstances.Num(); }
    int32 GetNumTriangles() const { return IndexBuffer.Num() / 3; }

    /**
     * Rebuilds everything from a description: one section per polygon group that has triangles, in
     * ascending group ID order, each holding that group's triangles in ascending triangle ID order.
     */
    void Build(const FMeshDescription& Description);

    bool operator==(const FImportedLODModel& Other) const = default;
};

/** The imported model of a skeletal mesh: one LOD model per level of detail. */
struct FSkeletalMeshImportedModel
{
    TArray<FImportedLODModel> LODModels;

    bool operator==(const FSkeletalMeshImportedModel& Other) const = default;
};
