#include "MeshDescription/MeshDescription.h"

void FMeshDescription::ResetIndexers()
{
    for (FLinkedAdjacency* Indexer : {&VertexToInstances, &VertexToEdges, &InstanceToTriangles,
                                      &EdgeToTriangles, &PolygonToTriangles, &GroupToPolygons})
    {
        Indexer->Empty();
    }
    bIndexersBuilt = false;
}

void FMeshDescription::BuildIndexers() const
{
    if (bIndexersBuilt)
    {
        return;
    }
    VertexToInstances.Reset(VertexIDs.GetArraySize(), VertexInstanceIDs.GetArraySize());
    VertexToEdges.Reset(VertexIDs.GetArraySize(), EdgeIDs.GetArraySize());
    InstanceToTriangles.Reset(VertexInstanceIDs.GetArraySize(), TriangleIDs.GetArraySize());
    EdgeToTriangles.Reset(EdgeIDs.GetArraySize(), TriangleIDs.GetArraySize());
    PolygonToTriangles.Reset(PolygonIDs.GetArraySize(), TriangleIDs.GetArraySize());
    GroupToPolygons.Reset(PolygonGroupIDs.GetArraySize(), PolygonIDs.GetArraySize());

    for (const FVertexInstanceID Instance : VertexInstanceIDs.GetElementIDs())
    {
        VertexToInstances.Link(GetVertexInstanceVertex(Instance).GetValue(), Instance.GetValue(), 0);
    }
    for (const FEdgeID Edge : EdgeIDs.GetElementIDs())
    {
        VertexToEdges.Link(GetEdgeVertex(Edge, 0).GetValue(), Edge.GetValue(), 0);
        VertexToEdges.Link(GetEdgeVertex(Edge, 1).GetValue(), Edge.GetValue(), 1);
    }
    for (const FTriangleID Triangle : TriangleIDs.GetElementIDs())
    {
        LinkTriangle(Triangle.GetValue());
    }
    for (const FPolygonID Polygon : PolygonIDs.GetElementIDs())
    {
        GroupToPolygons.Link(GetPolygonPolygonGroup(Polygon).GetValue(), Polygon.GetValue(), 0);
    }
    bIndexersBuilt = true;
}
