#pragma once

#include "Core/Containers/Array.h"
#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/Remesher/MeshConstraints.h"

/**
 * The host remesher driven as the remesh operation drives it: the region's border, the seams in it and
 * its attribute borders held with their vertices, the region projected onto a copy of itself, normal
 * flips refused, and a region update before each pass. For tests and the benchmarks.
 */
struct FRegionRemesh
{
    /** The constraints the operation builds for the region. */
    static FMeshConstraints BuildConstraints(const FDynamicMesh3& Mesh, const TArray<int32>& Triangles);

    /**
     * Remeshes the region in place; returns the triangle IDs of the region afterwards. A MaxDeviation
     * above zero switches the remesher's adaptive sizing on, which the operation leaves off. Constraints,
     * when given, are those BuildConstraints gave for the region; otherwise they are built here.
     */
    static TArray<int32> Run(FDynamicMesh3& Mesh, const TArray<int32>& Triangles, double TargetEdgeLength,
                             int32 Passes, double MaxDeviation = 0.0, const FMeshConstraints* Constraints = nullptr);
};
