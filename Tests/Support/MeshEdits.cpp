#include "Support/MeshEdits.h"

void DeleteTrianglesAndUnusedElements(FMeshDescription& Mesh, std::span<const FTriangleID> Triangles)
{
    TArray<FEdgeID> Edges;
    TArray<FVertexInstanceID> Instances;
    TArray<FVertexID> Vertices;
    for (const FTriangleID Triangle : Triangles)
    {
        Mesh.DeleteTriangle(Triangle, &Edges, &Instances);
    }
    for (const FVertexInstanceID Instance : Instances)
    {
        Mesh.DeleteVertexInstance(Instance, &Vertices);
    }
    for (const FEdgeID Edge : Edges)
    {
        Mesh.DeleteEdge(Edge, &Vertices);
    }
    for (const FVertexID Vertex : Vertices)
    {
        if (Mesh.Vertices().IsValid(Vertex) && Mesh.IsVertexOrphaned(Vertex))
        {
            Mesh.DeleteVertex(Vertex);
        }
    }
}
