#pragma once

#include "Core/Containers/Map.h"
#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "MeshConversion/MeshDescriptionToDynamicMesh.h"
#include "Support/MeshBuilders.h"

#include <benchmark/benchmark.h>

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

/** The grid of that size as a tool's preview shows it, converted once. */
inline const FDynamicMesh3& GridPreview(int32 Quads)
{
    static TMap<int32, FDynamicMesh3> Previews;
    if (!Previews.Contains(Quads))
    {
        FDynamicMesh3 Preview;
        FMeshDescriptionToDynamicMesh().Convert(GridMesh(Quads), Preview);
        Previews.Add(Quads, std::move(Preview));
    }
    return Previews[Quads];
}

/** The first half of the preview's triangles (the lower half of the grid), as a user would paint them. */
inline TArray<int32> PaintedHalf(const FDynamicMesh3& Preview)
{
    TArray<int32> Selected;
    Selected.Reserve(Preview.MaxTriangleID() / 2);
    for (int32 Triangle = 0; Triangle < Preview.MaxTriangleID() / 2; ++Triangle)
    {
        Selected.Add(Triangle);
    }
    return Selected;
}
