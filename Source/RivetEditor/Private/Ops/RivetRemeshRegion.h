#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/Set.h"
#include "GeometryCore/Remesher/MeshConstraints.h"

class FDynamicMesh3;

/** The edges of a region's triangles, each once: as a set, and as a list in the order first met. */
struct FRivetEdgeRegion
{
    TSet<int32> Set;
    TArray<int32> List;
};

/**
 * The average edge length of the listed triangles: each live triangle adds its three edges (so an edge of
 * two listed triangles counts twice), in double precision. IDs that are not live triangles are skipped;
 * 0 when nothing was measured.
 */
double MeasureAverageEdgeLength(const FDynamicMesh3& Mesh, const TArray<int32>& Triangles);

/**
 * About how many triangles the region becomes when remeshed at the target edge length: its area over the
 * area of an equilateral triangle of that edge. IDs that are not live triangles are skipped.
 */
double EstimateRemeshedTriangleCount(const FDynamicMesh3& Mesh, const TArray<int32>& Triangles,
                                     double TargetEdgeLength);

/** The region's edges: triangles in order, each triangle's three edges in their stored order. */
FRivetEdgeRegion CollectRegionEdges(const FDynamicMesh3& Mesh, const TArray<int32>& Triangles);

/**
 * The constraints that keep a region's outline through remeshing: the border of the region and its
 * attribute seams, and every attribute boundary edge of the region (a seam of any overlay, or an edge
 * between two material IDs) pinned with both of its end vertices. Nothing is allowed to split or slide.
 */
FMeshConstraints ConstrainRegion(const FDynamicMesh3& Mesh, const TArray<int32>& Triangles,
                                 const FRivetEdgeRegion& Edges);

/**
 * Remeshes the region of the mesh towards the target edge length with the sub-region remesher: its border,
 * seams and attribute boundaries held (ConstrainRegion), every moved vertex projected back onto the surface
 * the region had before, and no edit that turns a triangle over. Runs Passes passes, each after a region
 * update, as a slow task of one step per pass; the triangles outside the region are left as they are.
 * Returns the number of passes run.
 */
int32 RemeshTriangleRegion(FDynamicMesh3& Mesh, const TArray<int32>& Triangles, double TargetEdgeLength,
                           int32 Passes);
