#pragma once

#include "MeshDescription/MeshDescription.h"

/** Reaches into a description to break it on purpose, so that tests can see the consistency check catch it.
 */
struct FMeshDescriptionTestAccess
{
    static void SetInstanceVertex(FMeshDescription& Mesh, FVertexInstanceID Instance, FVertexID Vertex)
    {
        Mesh.InstanceVertex[Instance.GetValue()] = Vertex;
    }

    static void SetTriangleGroup(FMeshDescription& Mesh, FTriangleID Triangle, FPolygonGroupID Group)
    {
        Mesh.TriangleData[Triangle.GetValue()].Group = Group;
    }

    static void UnlinkTriangleFromEdge(FMeshDescription& Mesh, FTriangleID Triangle, int32 Side)
    {
        Mesh.EdgeToTriangles.Unlink(Mesh.GetTriangleEdges(Triangle)[Side].GetValue(), Triangle.GetValue(),
                                    Side);
    }
};
