#pragma once

#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"

#include <memory>
#include <utility>

/** Reaches into a dynamic mesh to break it on purpose, or to listen to it, for tests. */
struct FDynamicMesh3TestAccess
{
    static void SetTriangleCorner(FDynamicMesh3& Mesh, int32 TriangleID, int32 Corner, int32 VertexID)
    {
        Mesh.Triangles[TriangleID][Corner] = VertexID;
    }

    static void SetTriangleEdge(FDynamicMesh3& Mesh, int32 TriangleID, int32 Corner, int32 EdgeID)
    {
        Mesh.TriangleEdges[TriangleID][Corner] = EdgeID;
    }

    static void SetEdgeEnd(FDynamicMesh3& Mesh, int32 EdgeID, int32 End, int32 VertexID)
    {
        Mesh.Edges[EdgeID].Vertices[End] = VertexID;
    }

    /** Drops the stored corners of the highest triangle ID, leaving its other data in place. */
    static void DropLastTriangleCorners(FDynamicMesh3& Mesh) { Mesh.Triangles.Pop(); }

    /** Puts Attribute, which may be a subclass that watches the hooks, in place of the material IDs. */
    static void ReplaceMaterialIDs(FDynamicMeshAttributeSet& Attributes,
                                   std::unique_ptr<FDynamicMeshMaterialAttribute> Attribute)
    {
        Attributes.MaterialIDs = std::move(Attribute);
    }
};
