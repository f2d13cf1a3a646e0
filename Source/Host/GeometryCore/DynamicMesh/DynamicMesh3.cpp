#include "GeometryCore/DynamicMesh/DynamicMesh3.h"

#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "GeometryCore/Util/AssignGrowing.h"

#include <algorithm>
#include <span>
#include <type_traits>
#include <utility>

namespace
{
/** The corner that follows VertexID in the triangle's order. */
int32 NextCorner(const FIndex3i& TriVertices, int32 VertexID)
{
    return TriVertices[(TriVertices.IndexOf(VertexID) + 1) % 3];
}

/** The ends of an edge, smaller ID first. */
FIndex2i OrderedEdgeVertices(int32 VertexA, int32 VertexB)
{
    return VertexA < VertexB ? FIndex2i{VertexA, VertexB} : FIndex2i{VertexB, VertexA};
}

/** The same corners in the opposite order, as ReverseTriOrientation leaves them. */
FIndex3i ReversedCorners(const FIndex3i& TriVertices)
{
    return FIndex3i{TriVertices.A, TriVertices.C, TriVertices.B};
}
} // namespace

FDynamicMesh3::FDynamicMesh3() = default;
FDynamicMesh3::~FDynamicMesh3() = default;

FDynamicMesh3::FDynamicMesh3(const FDynamicMesh3& Other)
{
    AssignFrom(Other);
}

FDynamicMesh3::FDynamicMesh3(FDynamicMesh3&& Other) noexcept
{
    AssignFrom(std::move(Other));
    Other.Clear();
}

FDynamicMesh3& FDynamicMesh3::operator=(const FDynamicMesh3& Other)
{
    if (this != &Other)
    {
        AssignFrom(Other);
    }
    return *this;
}

FDynamicMesh3& FDynamicMesh3::operator=(FDynamicMesh3&& Other) noexcept
{
    if (this != &Other)
    {
        AssignFrom(std::move(Other));
        Other.Clear();
    }
    return *this;
}

void FDynamicMesh3::Clear()
{
    AssignFrom(FDynamicMesh3());
}

/** Copies or moves every member, as Other is passed; a copied attribute set is deep and re-pointed here. */
template <typename MeshType>
void FDynamicMesh3::AssignFrom(MeshType&& Other)
{
    Vertices = std::forward<MeshType>(Other).Vertices;
    VertexRefCounts = std::forward<MeshType>(Other).VertexRefCounts;
    VertexEdgeLists = std::forward<MeshType>(Other).VertexEdgeLists;
    Triangles = std::forward<MeshType>(Other).Triangles;
    TriangleEdges = std::forward<MeshType>(Other).TriangleEdges;
    TriangleRefCounts = std::forward<MeshType>(Other).TriangleRefCounts;
    TriangleGroups = std::forward<MeshType>(Other).TriangleGroups;
    bHasTriangleGroups = Other.bHasTriangleGroups;
    GroupIDCounter = Other.GroupIDCounter;
    Edges = std::forward<MeshType>(Other).Edges;
    EdgeRefCounts = std::forward<MeshType>(Other).EdgeRefCounts;
    if constexpr (std::is_lvalue_reference_v<MeshType>)
    {
        AttributeSet.reset();
        if (Other.AttributeSet)
        {
            AttributeSet = std::make_unique<FDynamicMeshAttributeSet>(this);
            AttributeSet->Copy(*Other.AttributeSet);
        }
    }
    else
    {
        AttributeSet = std::move(Other.AttributeSet);
        if (AttributeSet)
        {
            AttributeSet->Reparent(this);
        }
    }
}

void FDynamicMesh3::Reserve(int32 NumVertices, int32 NumTriangles, int32 NumEdges)
{
    Vertices.Reserve(NumVertices);
    VertexRefCounts.Reserve(NumVertices);
    VertexEdgeLists.Reserve(NumVertices, NumEdges);
    Triangles.Reserve(NumTriangles);
    TriangleEdges.Reserve(NumTriangles);
    TriangleRefCounts.Reserve(NumTriangles);
    if (bHasTriangleGroups)
    {
        TriangleGroups.Reserve(NumTriangles);
    }
    Edges.Reserve(NumEdges);
    EdgeRefCounts.Reserve(NumEdges);
    if (AttributeSet)
    {
        AttributeSet->Reserve(NumVertices, NumTriangles);
    }
}

int32 FDynamicMesh3::AppendVertex(const FVector& Position)
{
    const int32 VertexID = VertexRefCounts.Allocate();
    AssignGrowing(Vertices, VertexID, Position);
    VertexEdgeLists.ReserveKey(VertexID);
    if (AttributeSet)
    {
        AttributeSet->OnNewVertex(VertexID);
    }
    return VertexID;
}

void FDynamicMesh3::SetVertex(int32 VertexID, const FVector& Position)
{
    VT_CHECKF(IsVertex(VertexID), "%d is not a vertex", VertexID);
    Vertices[VertexID] = Position;
}

bool FDynamicMesh3::AreValidTriangleVertices(const FIndex3i& TriVertices) const
{
    return IsVertex(TriVertices.A) && IsVertex(TriVertices.B) && IsVertex(TriVertices.C) &&
           TriVertices.A != TriVertices.B && TriVertices.B != TriVertices.C && TriVertices.C != TriVertices.A;
}

bool FDynamicMesh3::EdgeHasTriangle(int32 EdgeID, const FIndex3i& TriVertices) const
{
    const FIndex2i EdgeTris = Edges[EdgeID].Triangles;
    return (EdgeTris.A != InvalidID && Triangles[EdgeTris.A].IsRotationOf(TriVertices)) ||
           (EdgeTris.B != InvalidID && Triangles[EdgeTris.B].IsRotationOf(TriVertices));
}

int32 FDynamicMesh3::AppendTriangle(const FIndex3i& TriVertices, int32 GroupID)
{
    if (!AreValidTriangleVertices(TriVertices))
    {
        return InvalidTriangleVerticesID;
    }
    FIndex3i ExistingEdges;
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        ExistingEdges[Corner] = FindEdge(TriVertices[Corner], TriVertices[(Corner + 1) % 3]);
    }
    // A duplicate shares every edge, so the triangles of the first edge are enough to look at.
    if (ExistingEdges.A != InvalidID && EdgeHasTriangle(ExistingEdges.A, TriVertices))
    {
        return DuplicateTriangleID;
    }
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        if (ExistingEdges[Corner] != InvalidID && Edges[ExistingEdges[Corner]].Triangles.B != InvalidID)
        {
            return NonManifoldID;
        }
    }

    const int32 TriangleID = TriangleRefCounts.Allocate();
    AssignGrowing(Triangles, TriangleID, TriVertices);
    FIndex3i TriEdges;
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        const int32 Existing = ExistingEdges[Corner];
        TriEdges[Corner] = Existing != InvalidID
                               ? AddEdgeTriangle(Existing, TriangleID)
                               : AddEdge(TriVertices[Corner], TriVertices[(Corner + 1) % 3], TriangleID);
        VertexRefCounts.Increment(TriVertices[Corner]);
    }
    AssignGrowing(TriangleEdges, TriangleID, TriEdges);
    if (bHasTriangleGroups)
    {
        AssignGrowing(TriangleGroups, TriangleID, GroupID);
        GroupIDCounter = std::max(GroupIDCounter, GroupID + 1);
    }
    if (AttributeSet)
    {
        AttributeSet->OnNewTriangle(TriangleID);
    }
    return TriangleID;
}

int32 FDynamicMesh3::AddEdge(int32 VertexA, int32 VertexB, int32 TriangleID)
{
    const int32 EdgeID = EdgeRefCounts.Allocate();
    const FIndex2i EdgeVertices = OrderedEdgeVertices(VertexA, VertexB);
    AssignGrowing(Edges, EdgeID, FEdge{EdgeVertices, FIndex2i{TriangleID, InvalidID}});
    VertexEdgeLists.Link(EdgeVertices.A, EdgeID, 0);
    VertexEdgeLists.Link(EdgeVertices.B, EdgeID, 1);
    return EdgeID;
}

int32 FDynamicMesh3::AddEdgeTriangle(int32 EdgeID, int32 TriangleID)
{
    Edges[EdgeID].Triangles.B = TriangleID;
    return EdgeID;
}

/** Takes the triangle off the edge and removes the edge when no triangle is left on it. */
void FDynamicMesh3::RemoveEdgeTriangle(int32 EdgeID, int32 TriangleID)
{
    FEdge& Edge = Edges[EdgeID];
    if (Edge.Triangles.A == TriangleID)
    {
        Edge.Triangles.A = Edge.Triangles.B;
    }
    Edge.Triangles.B = InvalidID;
    if (Edge.Triangles.A == InvalidID)
    {
        VertexEdgeLists.Unlink(Edge.Vertices.A, EdgeID, 0);
        VertexEdgeLists.Unlink(Edge.Vertices.B, EdgeID, 1);
        Edge = FEdge();
        EdgeRefCounts.Decrement(EdgeID);
    }
}

/** Drops one triangle's reference to the vertex, and the vertex itself once isolated if asked. */
void FDynamicMesh3::ReleaseVertex(int32 VertexID, bool bRemoveIfIsolated)
{
    if (VertexRefCounts.Decrement(VertexID) == 1 && bRemoveIfIsolated)
    {
        // The attributes hear of the removal while the vertex can still be read.
        if (AttributeSet)
        {
            AttributeSet->OnRemoveVertex(VertexID);
        }
        Vertices[VertexID] = FVector::ZeroVector;
        VertexRefCounts.Decrement(VertexID);
    }
}

bool FDynamicMesh3::RemoveTriangle(int32 TriangleID, bool bRemoveIsolatedVertices)
{
    if (!IsTriangle(TriangleID))
    {
        return false;
    }
    // The attributes go first, while the triangle can still be looked at.
    if (AttributeSet)
    {
        AttributeSet->OnRemoveTriangle(TriangleID);
    }
    const FIndex3i TriVertices = Triangles[TriangleID];
    const FIndex3i TriEdges = TriangleEdges[TriangleID];
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        RemoveEdgeTriangle(TriEdges[Corner], TriangleID);
    }
    Triangles[TriangleID] = FIndex3i();
    TriangleEdges[TriangleID] = FIndex3i();
    TriangleRefCounts.Decrement(TriangleID);
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        ReleaseVertex(TriVertices[Corner], bRemoveIsolatedVertices);
    }
    return true;
}

bool FDynamicMesh3::CanReverseTriOrientation(int32 TriangleID) const
{
    if (!IsTriangle(TriangleID))
    {
        return false;
    }
    // A triangle on the same corners shares every edge, so the one across the first edge is the only
    // candidate.
    const int32 Across = Edges[TriangleEdges[TriangleID].A].Triangles.OtherElement(TriangleID);
    return Across == InvalidID || !Triangles[Across].IsRotationOf(ReversedCorners(Triangles[TriangleID]));
}

bool FDynamicMesh3::ReverseTriOrientation(int32 TriangleID)
{
    if (!CanReverseTriOrientation(TriangleID))
    {
        return false;
    }
    // Corners (A, B, C) with edges (AB, BC, CA) become (A, C, B) with edges (AC, CB, BA).
    std::swap(Triangles[TriangleID].B, Triangles[TriangleID].C);
    std::swap(TriangleEdges[TriangleID].A, TriangleEdges[TriangleID].C);
    if (AttributeSet)
    {
        AttributeSet->OnReverseTriOrientation(TriangleID);
    }
    return true;
}

int32 FDynamicMesh3::SplitVertex(int32 VertexID, const TArray<int32>& TrianglesToMove)
{
    if (!IsValidVertexSplit(VertexID, TrianglesToMove))
    {
        return InvalidID;
    }
    // Copied first: appending may move the positions.
    const FVector Position = Vertices[VertexID];
    const int32 NewVertexID = AppendVertex(Position);
    for (const int32 TriangleID : TrianglesToMove)
    {
        FIndex3i& Tri = Triangles[TriangleID];
        Tri[Tri.IndexOf(VertexID)] = NewVertexID;
        VertexRefCounts.Decrement(VertexID);
        VertexRefCounts.Increment(NewVertexID);
    }
    // Every corner moves before any edge does, so that an edge can tell whether its other triangle moved.
    for (const int32 TriangleID : TrianglesToMove)
    {
        SplitTriangleEdges(TriangleID, VertexID, NewVertexID);
    }
    if (AttributeSet)
    {
        const std::span<const int32> Moved(TrianglesToMove.GetData(), TrianglesToMove.Num());
        AttributeSet->OnSplitVertex(FVertexSplitInfo{VertexID, NewVertexID, Moved});
    }
    return NewVertexID;
}

/**
 * Checks the input of a split. Each listed corner is marked while it is checked, so that a triangle listed
 * twice no longer shows the vertex the second time; the marks are undone before returning.
 */
bool FDynamicMesh3::IsValidVertexSplit(int32 VertexID, const TArray<int32>& TrianglesToMove)
{
    if (!IsVertex(VertexID) || TrianglesToMove.IsEmpty())
    {
        return false;
    }
    int32 NumMarked = 0;
    for (const int32 TriangleID : TrianglesToMove)
    {
        const int32 Corner = IsTriangle(TriangleID) ? Triangles[TriangleID].IndexOf(VertexID) : -1;
        if (Corner < 0)
        {
            break;
        }
        Triangles[TriangleID][Corner] = InvalidID;
        ++NumMarked;
    }
    for (int32 Index = 0; Index < NumMarked; ++Index)
    {
        FIndex3i& Tri = Triangles[TrianglesToMove[Index]];
        Tri[Tri.IndexOf(InvalidID)] = VertexID;
    }
    const int32 NumVertexTriangles = VertexRefCounts.GetCount(VertexID) - 1;
    return NumMarked == TrianglesToMove.Num() && NumMarked < NumVertexTriangles;
}

/**
 * Hands the two edges at the triangle's new corner to the new vertex: the whole edge when the triangle
 * across moved as well or there is none, otherwise a new edge for this triangle alone.
 */
void FDynamicMesh3::SplitTriangleEdges(int32 TriangleID, int32 OldVertexID, int32 NewVertexID)
{
    const int32 Corner = Triangles[TriangleID].IndexOf(NewVertexID);
    for (const int32 EdgeIndex : {Corner, (Corner + 2) % 3})
    {
        const int32 EdgeID = TriangleEdges[TriangleID][EdgeIndex];
        const FEdge Edge = Edges[EdgeID];
        if (Edge.Vertices.Contains(NewVertexID))
        {
            continue; // already moved with the triangle across
        }
        const int32 Across = Edge.Triangles.OtherElement(TriangleID);
        if (Across == InvalidID || Triangles[Across].Contains(NewVertexID))
        {
            MoveEdgeEnd(EdgeID, OldVertexID, NewVertexID);
        }
        else
        {
            RemoveEdgeTriangle(EdgeID, TriangleID);
            const int32 OtherVertexID = Edge.Vertices.OtherElement(OldVertexID);
            TriangleEdges[TriangleID][EdgeIndex] = AddEdge(NewVertexID, OtherVertexID, TriangleID);
        }
    }
}

/**
 * Moves one end of the edge from OldVertexID to NewVertexID. The other end keeps the edge where it is in
 * its list unless the edge's ends change order.
 */
void FDynamicMesh3::MoveEdgeEnd(int32 EdgeID, int32 OldVertexID, int32 NewVertexID)
{
    FEdge& Edge = Edges[EdgeID];
    const int32 OtherVertexID = Edge.Vertices.OtherElement(OldVertexID);
    const int32 OtherSlot = Edge.Vertices.IndexOf(OtherVertexID);
    VertexEdgeLists.Unlink(OldVertexID, EdgeID, 1 - OtherSlot);
    Edge.Vertices = OrderedEdgeVertices(NewVertexID, OtherVertexID);
    if (Edge.Vertices[OtherSlot] != OtherVertexID)
    {
        VertexEdgeLists.Unlink(OtherVertexID, EdgeID, OtherSlot);
        VertexEdgeLists.Link(OtherVertexID, EdgeID, 1 - OtherSlot);
    }
    VertexEdgeLists.Link(NewVertexID, EdgeID, Edge.Vertices.IndexOf(NewVertexID));
}

FIndex3i FDynamicMesh3::GetTriNeighbourTris(int32 TriangleID) const
{
    const FIndex3i TriEdges = GetTriEdges(TriangleID);
    FIndex3i Neighbours;
    for (int32 Index = 0; Index < 3; ++Index)
    {
        Neighbours[Index] = Edges[TriEdges[Index]].Triangles.OtherElement(TriangleID);
    }
    return Neighbours;
}

int32 FDynamicMesh3::FindEdge(int32 VertexA, int32 VertexB) const
{
    if (!IsVertex(VertexA) || !IsVertex(VertexB))
    {
        return InvalidID;
    }
    // Walk the list of the vertex with fewer triangles, which has at most twice as many edges as
    // triangles: a fan around one vertex then costs the fan's rim, not the whole fan per look-up.
    const bool bFromA = VertexRefCounts.GetCount(VertexA) <= VertexRefCounts.GetCount(VertexB);
    const int32 From = bFromA ? VertexA : VertexB;
    const int32 To = bFromA ? VertexB : VertexA;
    for (const int32 EdgeID : VertexEdgeLists[From])
    {
        if (Edges[EdgeID].Vertices.OtherElement(From) == To)
        {
            return EdgeID;
        }
    }
    return InvalidID;
}

bool FDynamicMesh3::IsBoundaryEdge(int32 EdgeID) const
{
    return GetEdgeT(EdgeID).B == InvalidID;
}

FVector FDynamicMesh3::GetTriCentroid(int32 TriangleID) const
{
    const FIndex3i Tri = GetTriangle(TriangleID);
    return (Vertices[Tri.A] + Vertices[Tri.B] + Vertices[Tri.C]) / 3.0;
}

/** The cross product of the edges leaving the first corner: the normal scaled by twice the area. */
FVector FDynamicMesh3::GetTriCross(int32 TriangleID) const
{
    const FIndex3i Tri = GetTriangle(TriangleID);
    const FVector& Origin = Vertices[Tri.A];
    return (Vertices[Tri.B] - Origin).Cross(Vertices[Tri.C] - Origin);
}

FVector FDynamicMesh3::GetTriNormal(int32 TriangleID) const
{
    const FVector Cross = GetTriCross(TriangleID);
    const double Length = Cross.Size();
    return Length > 0.0 ? Cross / Length : FVector::ZeroVector;
}

double FDynamicMesh3::GetTriArea(int32 TriangleID) const
{
    return 0.5 * GetTriCross(TriangleID).Size();
}

void FDynamicMesh3::GetVtxTriangles(int32 VertexID, TArray<int32>& Out) const
{
    // Each triangle has one edge from the vertex to the corner after it: take the triangle there only. The
    // vertex's own links lead to live edges and triangles, read unchecked.
    for (const int32 EdgeID : VtxEdges(VertexID))
    {
        const FEdge& Edge = Edges.GetData()[EdgeID];
        const int32 Other = Edge.Vertices.OtherElement(VertexID);
        for (const int32 TriangleID : {Edge.Triangles.A, Edge.Triangles.B})
        {
            if (TriangleID != InvalidID && NextCorner(Triangles.GetData()[TriangleID], VertexID) == Other)
            {
                Out.Add(TriangleID);
            }
        }
    }
}

void FDynamicMesh3::EnableTriangleGroups(int32 InitialGroupID)
{
    if (!bHasTriangleGroups)
    {
        bHasTriangleGroups = true;
        TriangleGroups.Init(InitialGroupID, MaxTriangleID());
        GroupIDCounter = InitialGroupID + 1;
    }
}

int32 FDynamicMesh3::GetTriangleGroup(int32 TriangleID) const
{
    VT_CHECKF(IsTriangle(TriangleID), "%d is not a triangle", TriangleID);
    return bHasTriangleGroups ? TriangleGroups[TriangleID] : 0;
}

void FDynamicMesh3::SetTriangleGroup(int32 TriangleID, int32 GroupID)
{
    VT_CHECKF(bHasTriangleGroups, "triangle groups are not enabled");
    VT_CHECKF(IsTriangle(TriangleID), "%d is not a triangle", TriangleID);
    TriangleGroups[TriangleID] = GroupID;
    GroupIDCounter = std::max(GroupIDCounter, GroupID + 1);
}

void FDynamicMesh3::EnableAttributes()
{
    if (!AttributeSet)
    {
        AttributeSet = std::make_unique<FDynamicMeshAttributeSet>(this);
    }
}

void FDynamicMesh3::DiscardAttributes()
{
    AttributeSet.reset();
}
