#pragma once

#include "Core/Containers/Array.h"
#include "GeometryCore/DynamicMesh/DynamicMesh3.h"

/**
 * A copy of some triangles of a base mesh as a mesh of their own: positions and triangle groups (no
 * attributes), with maps between the two meshes' vertex and triangle IDs. Submesh IDs are dense, in the
 * order the triangles were given and their corners first met.
 */
class FDynamicSubmesh3
{
public:
    /** Copies the listed triangles of the base; IDs that are not triangles and repeats are skipped. */
    template <typename TriangleRangeType>
    FDynamicSubmesh3(const FDynamicMesh3* InBaseMesh, const TriangleRangeType& Triangles) : BaseMesh(InBaseMesh)
    {
        BaseToSubVertex.Init(FDynamicMesh3::InvalidID, BaseMesh->MaxVertexID());
        BaseToSubTriangle.Init(FDynamicMesh3::InvalidID, BaseMesh->MaxTriangleID());
        if (BaseMesh->HasTriangleGroups())
        {
            Submesh.EnableTriangleGroups();
        }
        for (const int32 TriangleID : Triangles)
        {
            AddTriangle(TriangleID);
        }
    }

    const FDynamicMesh3* GetBaseMesh() const { return BaseMesh; }
    const FDynamicMesh3& GetSubmesh() const { return Submesh; }

    int32 MapVertexToBaseMesh(int32 SubVertexID) const { return SubToBaseVertex[SubVertexID]; }
    int32 MapTriangleToBaseMesh(int32 SubTriangleID) const { return SubToBaseTriangle[SubTriangleID]; }
    /** The submesh's copy of a base vertex, or InvalidID. */
    int32 MapVertexToSubmesh(int32 BaseVertexID) const;
    int32 MapTriangleToSubmesh(int32 BaseTriangleID) const;

private:
    void AddTriangle(int32 BaseTriangleID);
    int32 CopyVertex(int32 BaseVertexID);

    const FDynamicMesh3* BaseMesh;
    FDynamicMesh3 Submesh;
    TArray<int32> BaseToSubVertex;
    TArray<int32> BaseToSubTriangle;
    TArray<int32> SubToBaseVertex;
    TArray<int32> SubToBaseTriangle;
};
