#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/LinkedAdjacency.h"
#include "Core/Containers/String.h"
#include "Core/Math/Vector.h"
#include "GeometryCore/DynamicMesh/EdgeEditInfo.h"
#include "GeometryCore/DynamicMesh/MeshResult.h"
#include "GeometryCore/IndexTypes.h"
#include "GeometryCore/Util/RefCountVector.h"

#include <memory>

class FDynamicMeshAttributeSet;
class FMeshValidityReport;

/**
 * An indexed triangle mesh built for incremental editing.
 *
 * Vertices, triangles and edges are named by integer IDs handed out from reference-counted free lists:
 * removing an element leaves a hole that a later append fills, and the IDs of other elements never
 * change. An edge joins two vertices (smaller ID first) and has one triangle on a boundary or two
 * inside; a triangle knows its three edges and every vertex the edges that meet it. Edges with more
 * than two triangles are refused.
 *
 * A vertex's reference count is one plus its number of triangles; triangles and edges count one.
 * The optional attribute set is told of every topology change so its data stays sized and consistent.
 */
class FDynamicMesh3
{
public:
    static constexpr int32 InvalidID = -1;
    /** AppendTriangle: an edge of the triangle already has two triangles. */
    static constexpr int32 NonManifoldID = -2;
    /** AppendTriangle: a triangle with the same corners in the same orientation exists. */
    static constexpr int32 DuplicateTriangleID = -3;
    /** AppendTriangle: a corner is not a vertex of the mesh, or two corners are the same vertex. */
    static constexpr int32 InvalidTriangleVerticesID = -4;

    FDynamicMesh3();
    FDynamicMesh3(const FDynamicMesh3& Other);
    FDynamicMesh3(FDynamicMesh3&& Other) noexcept;
    FDynamicMesh3& operator=(const FDynamicMesh3& Other);
    FDynamicMesh3& operator=(FDynamicMesh3&& Other) noexcept;
    ~FDynamicMesh3();

    /** Removes every element, the triangle groups and the attributes. */
    void Clear();

    /**
     * Sizes the storage of the mesh and its attributes for this many vertices, triangles and edges, so that
     * building a mesh of known size appends without growing its arrays.
     */
    void Reserve(int32 NumVertices, int32 NumTriangles, int32 NumEdges);

    int32 AppendVertex(const FVector& Position);
    void SetVertex(int32 VertexID, const FVector& Position);
    FVector GetVertex(int32 VertexID) const;

    /**
     * Adds a triangle, creating the edges it needs, and returns its ID; or returns NonManifoldID,
     * DuplicateTriangleID or InvalidTriangleVerticesID and leaves the mesh unchanged. GroupID is kept
     * when triangle groups are enabled.
     */
    int32 AppendTriangle(const FIndex3i& TriVertices, int32 GroupID = 0);
    /** Removes the triangle and the edges it leaves without triangles; false when it is not a triangle. */
    bool RemoveTriangle(int32 TriangleID, bool bRemoveIsolatedVertices = true);

    /**
     * False when the triangle is not one, or when its reverse already exists: the one other triangle
     * that can share all three of its edges, with the corners in the opposite order.
     */
    bool CanReverseTriOrientation(int32 TriangleID) const;
    /**
     * Swaps the triangle's second and third corners, turning it to face the other way; its edges and
     * every overlay's elements follow. Returns false, changing nothing, when CanReverseTriOrientation
     * does.
     */
    bool ReverseTriOrientation(int32 TriangleID);
    /**
     * Moves TrianglesToMove, each a triangle of the vertex listed once, onto a new vertex at the same
     * position and returns its ID. The new vertex copies every per-vertex attribute; edges of moved
     * triangles that a kept triangle also uses are duplicated, and overlay elements used by both moved
     * and kept triangles are copied for the moved ones. Triangle IDs do not change. Returns InvalidID and
     * changes nothing when the vertex is not one, the list is empty, names a triangle twice or one
     * without the vertex, or holds every triangle of the vertex.
     */
    int32 SplitVertex(int32 VertexID, const TArray<int32>& TrianglesToMove);

    /**
     * Splits the edge at A + (B - A) * SplitT (A, B as GetEdgeV gives them), cutting each of its triangles
     * in two; every attribute is interpolated at the new vertex, a seam edge stays a seam on both halves.
     */
    EMeshResult SplitEdge(int32 EdgeID, FEdgeSplitInfo& OutInfo, double SplitT = 0.5);
    /**
     * Turns the edge between its two triangles to join their opposite corners. Refused on a boundary, when
     * that edge exists, and across a seam, a material or a triangle-group border.
     */
    EMeshResult FlipEdge(int32 EdgeID, FEdgeFlipInfo& OutInfo);
    /** FlipEdge's topological checks alone, without changing the mesh. */
    EMeshResult CanFlipEdge(int32 EdgeID) const;
    /**
     * Removes RemoveVertexID by merging it into KeepVertexID along their edge; the kept vertex moves to
     * Keep + (Remove - Keep) * CollapseT and its attributes are blended the same way. Refused unless the
     * two share no neighbours but the edge's opposite corners (the link condition), when the collapse
     * would pinch two boundaries together, or fold a closed neighbourhood or a lone triangle.
     */
    EMeshResult CollapseEdge(int32 KeepVertexID, int32 RemoveVertexID, FEdgeCollapseInfo& OutInfo,
                             double CollapseT = 0.0);
    /** CollapseEdge's topological checks alone, without changing the mesh. */
    EMeshResult CanCollapseEdge(int32 KeepVertexID, int32 RemoveVertexID) const;

    bool IsVertex(int32 VertexID) const { return VertexRefCounts.IsValid(VertexID); }
    bool IsTriangle(int32 TriangleID) const { return TriangleRefCounts.IsValid(TriangleID); }
    bool IsEdge(int32 EdgeID) const { return EdgeRefCounts.IsValid(EdgeID); }
    int32 VertexCount() const { return VertexRefCounts.GetLiveCount(); }
    int32 TriangleCount() const { return TriangleRefCounts.GetLiveCount(); }
    int32 EdgeCount() const { return EdgeRefCounts.GetLiveCount(); }
    /** One past the highest vertex ID ever allocated; per-vertex arrays are this long. */
    int32 MaxVertexID() const { return VertexRefCounts.GetMaxID(); }
    int32 MaxTriangleID() const { return TriangleRefCounts.GetMaxID(); }
    int32 MaxEdgeID() const { return EdgeRefCounts.GetMaxID(); }
    FRefCountVector::FRange VertexIndices() const { return VertexRefCounts.Indices(); }
    FRefCountVector::FRange TriangleIndices() const { return TriangleRefCounts.Indices(); }
    FRefCountVector::FRange EdgeIndices() const { return EdgeRefCounts.Indices(); }

    FIndex3i GetTriangle(int32 TriangleID) const;
    /** Edge i joins corner i and corner (i + 1) % 3. */
    FIndex3i GetTriEdges(int32 TriangleID) const;
    /** The triangle across each of GetTriEdges, or InvalidID on a boundary. */
    FIndex3i GetTriNeighbourTris(int32 TriangleID) const;
    FIndex2i GetEdgeV(int32 EdgeID) const;
    /** The edge's triangles; the second is InvalidID on a boundary. */
    FIndex2i GetEdgeT(int32 EdgeID) const;
    /** The edge joining the two vertices, or InvalidID; walks the edges of the one with fewer triangles. */
    int32 FindEdge(int32 VertexA, int32 VertexB) const;
    bool IsBoundaryEdge(int32 EdgeID) const;

    FVector GetTriCentroid(int32 TriangleID) const;
    /** The unit normal, counter-clockwise corners facing the viewer; zero for a degenerate triangle. */
    FVector GetTriNormal(int32 TriangleID) const;
    double GetTriArea(int32 TriangleID) const;

    /** The vertex's edges, in the order they were made. */
    FLinkedAdjacency::FRange VtxEdges(int32 VertexID) const;
    /** Appends the vertex's triangles to Out, each once. */
    void GetVtxTriangles(int32 VertexID, TArray<int32>& Out) const;
    int32 GetVtxEdgeCount(int32 VertexID) const;
    /** True when a boundary edge meets the vertex. */
    bool IsBoundaryVertex(int32 VertexID) const;

    bool HasTriangleGroups() const { return bHasTriangleGroups; }
    /** Gives every triangle InitialGroupID; does nothing when groups are already enabled. */
    void EnableTriangleGroups(int32 InitialGroupID = 0);
    /** The triangle's group, or 0 when groups are not enabled. */
    int32 GetTriangleGroup(int32 TriangleID) const;
    void SetTriangleGroup(int32 TriangleID, int32 GroupID);
    /** One past the highest group ID ever given to a triangle. */
    int32 MaxGroupID() const { return GroupIDCounter; }

    bool HasAttributes() const { return AttributeSet != nullptr; }
    /** Creates the attribute set, sized for the current mesh; does nothing when it exists. */
    void EnableAttributes();
    FDynamicMeshAttributeSet* Attributes() { return AttributeSet.get(); }
    const FDynamicMeshAttributeSet* Attributes() const { return AttributeSet.get(); }
    void DiscardAttributes();

    /** Verifies every invariant of the mesh and its attributes; appends what is broken to OutProblems. */
    bool CheckValidity(TArray<FString>* OutProblems = nullptr) const;

private:
    friend struct FDynamicMesh3TestAccess;

    struct FEdge
    {
        FIndex2i Vertices;
        FIndex2i Triangles;
    };

    template <typename MeshType>
    void AssignFrom(MeshType&& Other);

    bool AreValidTriangleVertices(const FIndex3i& TriVertices) const;
    bool EdgeHasTriangle(int32 EdgeID, const FIndex3i& TriVertices) const;
    int32 AddEdge(int32 VertexA, int32 VertexB, int32 TriangleID);
    int32 AddEdgeTriangle(int32 EdgeID, int32 TriangleID);
    void RemoveEdgeTriangle(int32 EdgeID, int32 TriangleID);
    void ReleaseVertex(int32 VertexID, bool bRemoveIfIsolated);
    bool IsValidVertexSplit(int32 VertexID, const TArray<int32>& TrianglesToMove);
    void SplitTriangleEdges(int32 TriangleID, int32 OldVertexID, int32 NewVertexID);
    void MoveEdgeEnd(int32 EdgeID, int32 OldVertexID, int32 NewVertexID);
    FVector GetTriCross(int32 TriangleID) const;

    int32 AllocateTriangle(const FIndex3i& TriVertices, int32 GroupID);
    void FreeTriangle(int32 TriangleID);
    void FreeEdge(int32 EdgeID);
    void ReplaceEdgeTriangle(int32 EdgeID, int32 OldTriangleID, int32 NewTriangleID);
    void ReplaceTriangleEdge(int32 TriangleID, int32 OldEdgeID, int32 NewEdgeID);
    void ReplaceEdgeVertices(int32 EdgeID, int32 VertexA, int32 VertexB);
    int32 FindTriEdge(int32 TriangleID, int32 VertexA, int32 VertexB) const;
    void SplitEdgeSide(int32 Side, FEdgeSplitInfo& Info);
    void MergeCollapsedSide(int32 RemovedTriangle, int32 KeptEdge, int32 RemovedEdge);

    void CheckStorage(FMeshValidityReport& Report) const;
    void CheckTriangles(FMeshValidityReport& Report) const;
    void CheckEdges(FMeshValidityReport& Report) const;
    void CheckVertices(FMeshValidityReport& Report) const;

    TArray<FVector> Vertices;
    FRefCountVector VertexRefCounts;
    /** Per vertex its edges; slot 0 for an edge's first vertex, slot 1 for its second. */
    FLinkedAdjacency VertexEdgeLists{2};

    TArray<FIndex3i> Triangles;
    TArray<FIndex3i> TriangleEdges;
    FRefCountVector TriangleRefCounts;
    TArray<int32> TriangleGroups;
    bool bHasTriangleGroups = false;
    int32 GroupIDCounter = 0;

    TArray<FEdge> Edges;
    FRefCountVector EdgeRefCounts;

    std::unique_ptr<FDynamicMeshAttributeSet> AttributeSet;

    /** Reused by CollapseEdge: the removed vertex's edges and triangles. */
    TArray<int32> CollapseEdgeScratch;
    TArray<int32> CollapseTriangleScratch;
};

// The accessors the geometry kernels call most, inline. Their ID check covers the index too: every array
// by ID is as long as the ID range (CheckStorage), so they read the arrays unchecked.

inline FVector FDynamicMesh3::GetVertex(int32 VertexID) const
{
    VT_CHECKF(IsVertex(VertexID), "%d is not a vertex", VertexID);
    return Vertices.GetData()[VertexID];
}

inline FIndex3i FDynamicMesh3::GetTriangle(int32 TriangleID) const
{
    VT_CHECKF(IsTriangle(TriangleID), "%d is not a triangle", TriangleID);
    return Triangles.GetData()[TriangleID];
}

inline FIndex3i FDynamicMesh3::GetTriEdges(int32 TriangleID) const
{
    VT_CHECKF(IsTriangle(TriangleID), "%d is not a triangle", TriangleID);
    return TriangleEdges.GetData()[TriangleID];
}

inline FIndex2i FDynamicMesh3::GetEdgeV(int32 EdgeID) const
{
    VT_CHECKF(IsEdge(EdgeID), "%d is not an edge", EdgeID);
    return Edges.GetData()[EdgeID].Vertices;
}

inline FIndex2i FDynamicMesh3::GetEdgeT(int32 EdgeID) const
{
    VT_CHECKF(IsEdge(EdgeID), "%d is not an edge", EdgeID);
    return Edges.GetData()[EdgeID].Triangles;
}

inline FLinkedAdjacency::FRange FDynamicMesh3::VtxEdges(int32 VertexID) const
{
    VT_CHECKF(IsVertex(VertexID), "%d is not a vertex", VertexID);
    return VertexEdgeLists[VertexID];
}

inline int32 FDynamicMesh3::GetVtxEdgeCount(int32 VertexID) const
{
    VT_CHECKF(IsVertex(VertexID), "%d is not a vertex", VertexID);
    return VertexEdgeLists.Num(VertexID);
}

/**
 * Every triangle at the vertex has two of its edges, an inner edge two triangles and a boundary edge one,
 * so the vertex has more edges than triangles exactly when a boundary edge meets it.
 */
inline bool FDynamicMesh3::IsBoundaryVertex(int32 VertexID) const
{
    VT_CHECKF(IsVertex(VertexID), "%d is not a vertex", VertexID);
    return VertexEdgeLists.Num(VertexID) > VertexRefCounts.GetCount(VertexID) - 1;
}
