#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Vector.h"
#include "MeshDescription/MeshElementID.h"

#include <functional>
#include <span>

class FMeshDescription;

/** The normal of the face that the point of the given index stands for, asked only to break ties. */
using FPointNormalFunction = std::function<FVector(int32 PointIndex)>;

/**
 * Matches points, in order, to the triangles of a description whose centroids lie nearest to them within
 * Tolerance. The result is what FTriangleCentroidGrid::FindNearest answers for each point in turn with a
 * tie break that prefers a triangle facing the way NormalOf(point index) does, then one that no earlier
 * point matched. A point that is not finite or finds nothing gets an invalid ID.
 *
 * A lookup per point in a hash grid reads memory at random, and slows once the grid outgrows the caches.
 * Here the centroids and the points are both sorted by cell, and the points' neighbourhoods are walked in
 * that order with nine forward-only cursors, one per column of neighbour cells along z (a column's three
 * cells are adjacent in the order). Only points whose nearest centroids tie depend on what earlier points
 * took; their candidates are kept and settled afterwards, in point order. All of it is linear in the
 * triangle and point counts. A description whose cells cannot be numbered in 62 bits (one spanning more
 * than about a million cells along every axis) is matched through the hash grid instead.
 */
TArray<FTriangleID> MatchNearestCentroids(const FMeshDescription& Mesh, double Tolerance,
                                          std::span<const FVector> Points,
                                          const FPointNormalFunction& NormalOf);
