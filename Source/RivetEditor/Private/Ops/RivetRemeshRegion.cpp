#include "RivetEditor/Private/Ops/RivetRemeshRegion.h"

#include "Core/Misc/ScopedSlowTask.h"
#include "Core/Text/LocText.h"
#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "GeometryCore/DynamicMesh/DynamicSubmesh3.h"
#include "GeometryCore/Remesher/MeshConstraintsUtil.h"
#include "GeometryCore/Remesher/SubRegionRemesher.h"
#include "GeometryCore/Spatial/MeshAABBTree3.h"
#include "GeometryCore/Spatial/MeshProjectionTarget.h"

#include <cmath>

#define VT_LOCTEXT_NAMESPACE "RivetRemeshOp"

double MeasureAverageEdgeLength(const FDynamicMesh3& Mesh, const TArray<int32>& Triangles)
{
    double Sum = 0.0;
    int64 Count = 0;
    for (const int32 Triangle : Triangles)
    {
        if (!Mesh.IsTriangle(Triangle))
        {
            continue;
        }
        const FIndex3i Corners = Mesh.GetTriangle(Triangle);
        const FVector A = Mesh.GetVertex(Corners.A);
        const FVector B = Mesh.GetVertex(Corners.B);
        const FVector C = Mesh.GetVertex(Corners.C);
        Sum += FVector::Distance(A, B) + FVector::Distance(B, C) + FVector::Distance(C, A);
        Count += 3;
    }
    return Count > 0 ? Sum / static_cast<double>(Count) : 0.0;
}

double EstimateRemeshedTriangleCount(const FDynamicMesh3& Mesh, const TArray<int32>& Triangles,
                                     double TargetEdgeLength)
{
    double Area = 0.0;
    for (const int32 Triangle : Triangles)
    {
        if (Mesh.IsTriangle(Triangle))
        {
            const FIndex3i Corners = Mesh.GetTriangle(Triangle);
            const FVector A = Mesh.GetVertex(Corners.A);
            Area += 0.5 * (Mesh.GetVertex(Corners.B) - A).Cross(Mesh.GetVertex(Corners.C) - A).Size();
        }
    }
    return Area / (0.25 * std::sqrt(3.0) * TargetEdgeLength * TargetEdgeLength);
}

FRivetEdgeRegion CollectRegionEdges(const FDynamicMesh3& Mesh, const TArray<int32>& Triangles)
{
    FRivetEdgeRegion Edges;
    Edges.Set.Reserve(Triangles.Num() * 3 / 2 + 3);
    Edges.List.Reserve(Triangles.Num() * 3 / 2 + 3);
    for (const int32 Triangle : Triangles)
    {
        const FIndex3i TriangleEdges = Mesh.GetTriEdges(Triangle);
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            if (Edges.Set.Add(TriangleEdges[Corner]))
            {
                Edges.List.Add(TriangleEdges[Corner]);
            }
        }
    }
    return Edges;
}

FMeshConstraints ConstrainRegion(const FDynamicMesh3& Mesh, const TArray<int32>& Triangles,
                                 const FRivetEdgeRegion& Edges)
{
    TSet<int32> TriangleSet;
    TriangleSet.Reserve(Triangles.Num());
    for (const int32 Triangle : Triangles)
    {
        TriangleSet.Add(Triangle);
    }
    FMeshConstraints Constraints;
    FMeshConstraintsUtil::ConstrainROIBoundariesInEdgeROI(Constraints, Mesh, Edges.Set, TriangleSet,
                                                          /*bAllowSplits=*/false, /*bAllowSmoothing=*/false);
    FMeshConstraintsUtil::ConstrainSeamsInEdgeROI(Constraints, Mesh, Edges.List, /*bAllowSplits=*/false,
                                                  /*bAllowSmoothing=*/false, /*bParallel=*/true);
    if (const FDynamicMeshAttributeSet* Attributes = Mesh.Attributes())
    {
        for (const int32 Edge : Edges.List)
        {
            if (Attributes->IsAttributeBoundaryEdge(Edge))
            {
                Constraints.SetOrUpdateEdgeConstraint(Edge, FEdgeConstraint::FullyConstrained());
                const FIndex2i Ends = Mesh.GetEdgeV(Edge);
                Constraints.SetOrUpdateVertexConstraint(Ends.A, FVertexConstraint::FullyConstrained());
                Constraints.SetOrUpdateVertexConstraint(Ends.B, FVertexConstraint::FullyConstrained());
            }
        }
    }
    return Constraints;
}

int32 RemeshTriangleRegion(FDynamicMesh3& Mesh, const TArray<int32>& Triangles, double TargetEdgeLength,
                           int32 Passes)
{
    const FRivetEdgeRegion Edges = CollectRegionEdges(Mesh, Triangles);
    const FMeshConstraints Constraints = ConstrainRegion(Mesh, Triangles, Edges);

    // The surface the region had before: vertices that move are put back onto it.
    const FDynamicSubmesh3 Surface(&Mesh, Triangles);
    const FDynamicMeshAABBTree3 SurfaceTree(&Surface.GetSubmesh());
    FMeshProjectionTarget Projection(&Surface.GetSubmesh(), &SurfaceTree);

    FSubRegionRemesher Remesher(&Mesh);
    Remesher.InitializeFromTriangles(Triangles);
    Remesher.SetTargetEdgeLength(TargetEdgeLength);
    Remesher.SetExternalConstraints(Constraints);
    Remesher.SetProjectionTarget(&Projection);
    Remesher.bPreventNormalFlips = true;

    FScopedSlowTask Progress(static_cast<float>(Passes),
                             VT_LOCTEXT("RemeshProgress", "Remeshing the selected polygons"));
    for (int32 Pass = 0; Pass < Passes; ++Pass)
    {
        Progress.EnterStep(1.0f, FText::Format(VT_LOCTEXT("RemeshPass", "Pass {0} of {1}"), Pass + 1, Passes));
        Remesher.UpdateROI();
        Remesher.BasicRemeshPass();
    }
    return Passes;
}

#undef VT_LOCTEXT_NAMESPACE
