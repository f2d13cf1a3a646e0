#include "Support/RegionRemesh.h"

#include "Core/Containers/Set.h"
#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "GeometryCore/DynamicMesh/DynamicSubmesh3.h"
#include "GeometryCore/Remesher/MeshConstraintsUtil.h"
#include "GeometryCore/Remesher/SubRegionRemesher.h"
#include "GeometryCore/Spatial/MeshAABBTree3.h"
#include "GeometryCore/Spatial/MeshProjectionTarget.h"

namespace
{
/** The region's edges once each, in the order first met. */
TArray<int32> ListEdges(const FDynamicMesh3& Mesh, const TArray<int32>& Triangles, TSet<int32>& OutEdgeSet)
{
    TArray<int32> Edges;
    for (const int32 TriangleID : Triangles)
    {
        const FIndex3i TriEdges = Mesh.GetTriEdges(TriangleID);
        for (int32 Index = 0; Index < 3; ++Index)
        {
            if (!OutEdgeSet.Contains(TriEdges[Index]))
            {
                OutEdgeSet.Add(TriEdges[Index]);
                Edges.Add(TriEdges[Index]);
            }
        }
    }
    return Edges;
}
} // namespace

FMeshConstraints FRegionRemesh::BuildConstraints(const FDynamicMesh3& Mesh, const TArray<int32>& Triangles)
{
    TSet<int32> TriangleSet;
    for (const int32 TriangleID : Triangles)
    {
        TriangleSet.Add(TriangleID);
    }
    TSet<int32> EdgeSet;
    const TArray<int32> Edges = ListEdges(Mesh, Triangles, EdgeSet);
    FMeshConstraints Constraints;
    FMeshConstraintsUtil::ConstrainROIBoundariesInEdgeROI(Constraints, Mesh, EdgeSet, TriangleSet, false, false);
    FMeshConstraintsUtil::ConstrainSeamsInEdgeROI(Constraints, Mesh, Edges, false, false, true);
    if (const FDynamicMeshAttributeSet* Attributes = Mesh.Attributes())
    {
        for (const int32 EdgeID : Edges)
        {
            if (Attributes->IsAttributeBoundaryEdge(EdgeID))
            {
                FMeshConstraintsUtil::ConstrainEdgeAndVertices(Constraints, Mesh, EdgeID, false, false);
            }
        }
    }
    return Constraints;
}

TArray<int32> FRegionRemesh::Run(FDynamicMesh3& Mesh, const TArray<int32>& Triangles, double TargetEdgeLength,
                                 int32 Passes, double MaxDeviation, const FMeshConstraints* Constraints)
{
    const FDynamicSubmesh3 Submesh(&Mesh, Triangles);
    const FDynamicMeshAABBTree3 Spatial(&Submesh.GetSubmesh());
    FMeshProjectionTarget Target(&Submesh.GetSubmesh(), &Spatial);
    FSubRegionRemesher Remesher(&Mesh);
    Remesher.InitializeFromTriangles(Triangles);
    Remesher.SetTargetEdgeLength(TargetEdgeLength);
    Remesher.SetAdaptiveSizing(MaxDeviation);
    Remesher.SetExternalConstraints(Constraints ? *Constraints : BuildConstraints(Mesh, Triangles));
    Remesher.SetProjectionTarget(&Target);
    Remesher.bPreventNormalFlips = true;
    for (int32 Pass = 0; Pass < Passes; ++Pass)
    {
        Remesher.UpdateROI();
        Remesher.BasicRemeshPass();
    }
    TArray<int32> Region;
    for (const int32 TriangleID : Mesh.TriangleIndices())
    {
        if (Remesher.IsTriangleInROI(TriangleID))
        {
            Region.Add(TriangleID);
        }
    }
    return Region;
}
