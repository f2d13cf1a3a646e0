#pragma once

#include "Core/Containers/Array.h"

class FDynamicMesh3;

/** The triangles of a mesh grouped by connection through shared edges, as `island:` selects them. */
struct FTriangleIslands
{
    /** Per triangle ID, its island's index, or INDEX_NONE for a dead ID. */
    TArray<int32> IslandOfTriangle;
    /** Per island, its triangles in ascending ID order; islands are numbered by their lowest triangle. */
    TArray<TArray<int32>> Islands;
};

FTriangleIslands FindTriangleIslands(const FDynamicMesh3& Mesh);
