#include "GeometryCore/DynamicMesh/DynamicSubmesh3.h"

int32 FDynamicSubmesh3::MapVertexToSubmesh(int32 BaseVertexID) const
{
    return BaseToSubVertex.IsValidIndex(BaseVertexID) ? BaseToSubVertex[BaseVertexID] : FDynamicMesh3::InvalidID;
}

int32 FDynamicSubmesh3::MapTriangleToSubmesh(int32 BaseTriangleID) const
{
    return BaseToSubTriangle.IsValidIndex(BaseTriangleID) ? BaseToSubTriangle[BaseTriangleID]
                                                          : FDynamicMesh3::InvalidID;
}

void FDynamicSubmesh3::AddTriangle(int32 BaseTriangleID)
{
    if (!BaseMesh->IsTriangle(BaseTriangleID) || BaseToSubTriangle[BaseTriangleID] != FDynamicMesh3::InvalidID)
    {
        return;
    }
    const FIndex3i BaseTri = BaseMesh->GetTriangle(BaseTriangleID);
    const FIndex3i SubTri{CopyVertex(BaseTri.A), CopyVertex(BaseTri.B), CopyVertex(BaseTri.C)};
    // The base mesh is manifold, so its triangles are too, as a subset.
    const int32 SubTriangleID = Submesh.AppendTriangle(SubTri, BaseMesh->GetTriangleGroup(BaseTriangleID));
    VT_CHECKF(SubTriangleID >= 0, "triangle %d could not be copied (%d)", BaseTriangleID, SubTriangleID);
    BaseToSubTriangle[BaseTriangleID] = SubTriangleID;
    SubToBaseTriangle.Add(BaseTriangleID);
}

int32 FDynamicSubmesh3::CopyVertex(int32 BaseVertexID)
{
    int32& SubVertexID = BaseToSubVertex[BaseVertexID];
    if (SubVertexID == FDynamicMesh3::InvalidID)
    {
        SubVertexID = Submesh.AppendVertex(BaseMesh->GetVertex(BaseVertexID));
        SubToBaseVertex.Add(BaseVertexID);
    }
    return SubVertexID;
}
