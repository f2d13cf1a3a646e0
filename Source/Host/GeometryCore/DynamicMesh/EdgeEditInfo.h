#pragma once

#include "Core/CoreTypes.h"
#include "GeometryCore/IndexTypes.h"

#include <span>

/**
 * What FDynamicMesh3::SplitEdge did. The edge (OriginalVertices, in the edge's order) now joins A and
 * NewVertex, placed at A + (B - A) * SplitT. Each original triangle keeps A and now uses NewVertex where
 * it used B; the new triangle beside it (same index in NewTriangles) joins NewVertex, B and the other
 * vertex of that side. NewEdges: NewVertex-B, then NewVertex to each side's other vertex.
 * The entries of a missing second side are InvalidID.
 */
struct FEdgeSplitInfo
{
    int32 OriginalEdge = -1;
    FIndex2i OriginalVertices;
    FIndex2i OriginalTriangles;
    FIndex2i OtherVertices;
    int32 NewVertex = -1;
    FIndex2i NewTriangles;
    FIndex3i NewEdges;
    double SplitT = 0.5;
};

/**
 * What FDynamicMesh3::FlipEdge did: the edge joined OriginalVertices and now joins OpposingVertices;
 * its two triangles keep their IDs and were OldTriangles (corners in their old order) before.
 */
struct FEdgeFlipInfo
{
    int32 EdgeID = -1;
    FIndex2i OriginalVertices;
    FIndex2i OpposingVertices;
    FIndex2i Triangles;
    FIndex3i OldTriangles[2];
};

/**
 * What FDynamicMesh3::CollapseEdge did: RemovedVertex is gone and KeptVertex moved to
 * Kept + (Removed - Kept) * CollapseT. The edge's triangles (with their old corners) are gone, and each
 * side's edge from the removed vertex merged into the kept vertex's edge to the same opposite vertex.
 * MovedTriangles used RemovedVertex and now use KeptVertex. The entries of a missing second side are
 * InvalidID.
 */
struct FEdgeCollapseInfo
{
    int32 KeptVertex = -1;
    int32 RemovedVertex = -1;
    int32 CollapsedEdge = -1;
    FIndex2i OpposingVertices;
    FIndex2i RemovedTriangles;
    FIndex3i OldTriangles[2];
    FIndex2i RemovedEdges;
    FIndex2i KeptEdges;
    std::span<const int32> MovedTriangles;
    double CollapseT = 0.0;
};
