#pragma once

#include "Core/Containers/Array.h"
#include "GeometryCore/DynamicMesh/DynamicMesh3.h"

/** What the peer did with a region. */
struct FCgalRemeshResult
{
    /** The region after remeshing, as a mesh of its own. */
    FDynamicMesh3 Region;
    double Seconds = 0.0;
};

/**
 * Remeshes the region of a copy of Mesh with CGAL's isotropic remeshing (the published open
 * implementation of the same algorithm), ProtectedEdges held as constraints, and times the remeshing
 * alone: building CGAL's mesh and reading the result back are not counted.
 */
FCgalRemeshResult RemeshWithCgal(const FDynamicMesh3& Mesh, const TArray<int32>& Region,
                                 const TArray<int32>& ProtectedEdges, double TargetEdgeLength, int32 Passes);
