#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/Set.h"
#include "GeometryCore/Remesher/MeshConstraints.h"

class FDynamicMesh3;

/** Builds the constraints that keep a region's border and its attribute seams through remeshing. */
struct FMeshConstraintsUtil
{
    /**
     * Constrains each edge of EdgeROI that does not lie between two triangles of TriangleROI (the
     * region's border, and open edges of the mesh) together with its two vertices. The edges may be split
     * when bAllowSplits is set and are never flipped or collapsed; the vertices are never removed and move
     * only when bAllowSmoothing is set.
     */
    static void ConstrainROIBoundariesInEdgeROI(FMeshConstraints& Constraints, const FDynamicMesh3& Mesh,
                                                const TSet<int32>& EdgeROI, const TSet<int32>& TriangleROI,
                                                bool bAllowSplits, bool bAllowSmoothing);

    /**
     * The same for each edge of EdgeROI that is a seam of one of the mesh's overlays. The check is cheap
     * per edge, so bParallel is accepted for callers that ask for it and the work stays on this thread.
     */
    static void ConstrainSeamsInEdgeROI(FMeshConstraints& Constraints, const FDynamicMesh3& Mesh,
                                        const TArray<int32>& EdgeROI, bool bAllowSplits, bool bAllowSmoothing,
                                        bool bParallel = true);

    /** Constrains the edge and its two vertices as the functions above do. */
    static void ConstrainEdgeAndVertices(FMeshConstraints& Constraints, const FDynamicMesh3& Mesh, int32 EdgeID,
                                         bool bAllowSplits, bool bAllowSmoothing);
};
