#include "GeometryCore/Remesher/MeshConstraintsUtil.h"

#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"

void FMeshConstraintsUtil::ConstrainEdgeAndVertices(FMeshConstraints& Constraints, const FDynamicMesh3& Mesh,
                                                    int32 EdgeID, bool bAllowSplits, bool bAllowSmoothing)
{
    Constraints.SetOrUpdateEdgeConstraint(
        EdgeID, {bAllowSplits ? EEdgeRefineFlags::SplitsOnly : EEdgeRefineFlags::FullyConstrained});
    const FIndex2i EdgeVertices = Mesh.GetEdgeV(EdgeID);
    for (const int32 VertexID : {EdgeVertices.A, EdgeVertices.B})
    {
        Constraints.SetOrUpdateVertexConstraint(VertexID, {true, bAllowSmoothing});
    }
}

void FMeshConstraintsUtil::ConstrainROIBoundariesInEdgeROI(FMeshConstraints& Constraints, const FDynamicMesh3& Mesh,
                                                           const TSet<int32>& EdgeROI, const TSet<int32>& TriangleROI,
                                                           bool bAllowSplits, bool bAllowSmoothing)
{
    for (const int32 EdgeID : EdgeROI)
    {
        if (!Mesh.IsEdge(EdgeID))
        {
            continue;
        }
        const FIndex2i EdgeTris = Mesh.GetEdgeT(EdgeID);
        if (!TriangleROI.Contains(EdgeTris.A) || !TriangleROI.Contains(EdgeTris.B))
        {
            ConstrainEdgeAndVertices(Constraints, Mesh, EdgeID, bAllowSplits, bAllowSmoothing);
        }
    }
}

void FMeshConstraintsUtil::ConstrainSeamsInEdgeROI(FMeshConstraints& Constraints, const FDynamicMesh3& Mesh,
                                                   const TArray<int32>& EdgeROI, bool bAllowSplits,
                                                   bool bAllowSmoothing, bool /*bParallel*/)
{
    const FDynamicMeshAttributeSet* Attributes = Mesh.Attributes();
    if (!Attributes)
    {
        return;
    }
    for (const int32 EdgeID : EdgeROI)
    {
        if (Mesh.IsEdge(EdgeID) && Attributes->IsSeamEdge(EdgeID))
        {
            ConstrainEdgeAndVertices(Constraints, Mesh, EdgeID, bAllowSplits, bAllowSmoothing);
        }
    }
}
