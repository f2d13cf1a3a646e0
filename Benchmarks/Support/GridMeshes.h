#pragma once

#include "Core/Containers/Map.h"
#include "Support/MeshBuilders.h"

/** The benchmarks' skinned grid: UVs, normals, tangents, four influences per vertex and a morph target. */
inline FSkinnedGridOptions GridOptions(int32 Quads)
{
    return {.QuadsX = Quads, .QuadsY = Quads, .NumGroups = 4, .InfluencesPerVertex = 4, .bMorphTarget = true};
}

/** The grid of that size, built once. */
inline const FMeshDescription& GridMesh(int32 Quads)
{
    static TMap<int32, FMeshDescription> Meshes;
    if (!Meshes.Contains(Quads))
    {
        Meshes.Add(Quads, BuildSkinnedGrid(GridOptions(Quads)));
    }
    return Meshes[Quads];
}
