#pragma once

#include "Core/CoreTypes.h"

#include <span>

/**
 * What FDynamicMesh3::SplitVertex did: the triangles in MovedTriangles used OriginalVertex and now use
 * NewVertex, a new vertex at the same position. The other triangles of OriginalVertex keep it.
 */
struct FVertexSplitInfo
{
    int32 OriginalVertex = -1;
    int32 NewVertex = -1;
    std::span<const int32> MovedTriangles;
};
