#pragma once

#include "Core/Containers/Array.h"
#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/Util/IDBitSet.h"

/**
 * The live triangles of a mesh named in a list of triangle IDs, each once and in list order, with a
 * constant-time membership test. Dead IDs and repeats in the list are dropped. The selection reads the
 * mesh only when asked; edits that keep triangle IDs leave it usable.
 */
class FTriangleSelection
{
public:
    FTriangleSelection(const FDynamicMesh3& Mesh, const TArray<int32>& TriangleIDs);

    const TArray<int32>& GetTriangles() const { return Triangles; }
    int32 Num() const { return Triangles.Num(); }
    bool IsEmpty() const { return Triangles.IsEmpty(); }
    bool Contains(int32 TriangleID) const { return Members.Contains(TriangleID); }

    /** Keeps the triangles for which Predicate holds, in their order. */
    template <typename PredicateType>
    void Filter(PredicateType Predicate)
    {
        Triangles.RemoveAll(
            [this, &Predicate](int32 TriangleID)
            {
                const bool bDrop = !Predicate(TriangleID);
                if (bDrop)
                {
                    Members.Remove(TriangleID);
                }
                return bDrop;
            });
    }

    /** True when the edge has two triangles and exactly one of them is selected. */
    bool IsBorderEdge(const FDynamicMesh3& Mesh, int32 EdgeID) const;
    /** Replaces Out with the vertices, each once, that have selected triangles and others. */
    void GetBorderVertices(const FDynamicMesh3& Mesh, TArray<int32>& Out) const;
    /** Replaces Out with the selected triangles of the vertex. */
    void GetSelectedVertexTriangles(const FDynamicMesh3& Mesh, int32 VertexID, TArray<int32>& Out) const;
    /**
     * Calls Func once for each vertex of a selected triangle, in the order the triangles name them. Func
     * must not add or remove vertices.
     */
    template <typename FuncType>
    void ForEachVertex(const FDynamicMesh3& Mesh, FuncType&& Func) const;

private:
    bool HasUnselectedTriangle(const FDynamicMesh3& Mesh, int32 VertexID) const;

    TArray<int32> Triangles;
    FIDBitSet Members;
};

template <typename FuncType>
void FTriangleSelection::ForEachVertex(const FDynamicMesh3& Mesh, FuncType&& Func) const
{
    FIDBitSet Visited(Mesh.MaxVertexID());
    for (const int32 TriangleID : Triangles)
    {
        const FIndex3i Tri = Mesh.GetTriangle(TriangleID);
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            if (Visited.Add(Tri[Corner]))
            {
                Func(Tri[Corner]);
            }
        }
    }
}
