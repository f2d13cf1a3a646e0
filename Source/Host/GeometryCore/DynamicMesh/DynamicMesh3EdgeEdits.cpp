#include "GeometryCore/DynamicMesh/DynamicMesh3.h"

#include "GeometryCore/DynamicMesh/DynamicMeshAttributeSet.h"
#include "GeometryCore/Util/AssignGrowing.h"

namespace
{
/** The corner of the triangle that is neither A nor B. */
int32 OtherCorner(const FIndex3i& Tri, int32 VertexA, int32 VertexB)
{
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        if (Tri[Corner] != VertexA && Tri[Corner] != VertexB)
        {
            return Tri[Corner];
        }
    }
    return FDynamicMesh3::InvalidID;
}

/** True when B follows A in the triangle's order. */
bool IsOrientedEdge(const FIndex3i& Tri, int32 VertexA, int32 VertexB)
{
    return Tri[(Tri.IndexOf(VertexA) + 1) % 3] == VertexB;
}

FIndex3i WithCorner(FIndex3i Tri, int32 OldVertexID, int32 NewVertexID)
{
    Tri[Tri.IndexOf(OldVertexID)] = NewVertexID;
    return Tri;
}
} // namespace

int32 FDynamicMesh3::AllocateTriangle(const FIndex3i& TriVertices, int32 GroupID)
{
    const int32 TriangleID = TriangleRefCounts.Allocate();
    AssignGrowing(Triangles, TriangleID, TriVertices);
    AssignGrowing(TriangleEdges, TriangleID, FIndex3i());
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        VertexRefCounts.Increment(TriVertices[Corner]);
    }
    if (bHasTriangleGroups)
    {
        AssignGrowing(TriangleGroups, TriangleID, GroupID);
    }
    if (AttributeSet)
    {
        AttributeSet->OnNewTriangle(TriangleID);
    }
    return TriangleID;
}

/** Frees the ID only; the caller has already dealt with the triangle's edges and corners. */
void FDynamicMesh3::FreeTriangle(int32 TriangleID)
{
    Triangles[TriangleID] = FIndex3i();
    TriangleEdges[TriangleID] = FIndex3i();
    TriangleRefCounts.Decrement(TriangleID);
}

void FDynamicMesh3::FreeEdge(int32 EdgeID)
{
    FEdge& Edge = Edges[EdgeID];
    VertexEdgeLists.Unlink(Edge.Vertices.A, EdgeID, 0);
    VertexEdgeLists.Unlink(Edge.Vertices.B, EdgeID, 1);
    Edge = FEdge();
    EdgeRefCounts.Decrement(EdgeID);
}

/** Puts NewTriangleID (or nothing) in the edge's place of OldTriangleID; a lone triangle comes first. */
void FDynamicMesh3::ReplaceEdgeTriangle(int32 EdgeID, int32 OldTriangleID, int32 NewTriangleID)
{
    FIndex2i& EdgeTris = Edges[EdgeID].Triangles;
    EdgeTris[EdgeTris.IndexOf(OldTriangleID)] = NewTriangleID;
    if (EdgeTris.A == InvalidID)
    {
        std::swap(EdgeTris.A, EdgeTris.B);
    }
}

void FDynamicMesh3::ReplaceTriangleEdge(int32 TriangleID, int32 OldEdgeID, int32 NewEdgeID)
{
    FIndex3i& TriEdges = TriangleEdges[TriangleID];
    TriEdges[TriEdges.IndexOf(OldEdgeID)] = NewEdgeID;
}

/** Relinks the edge to join VertexA and VertexB. */
void FDynamicMesh3::ReplaceEdgeVertices(int32 EdgeID, int32 VertexA, int32 VertexB)
{
    FEdge& Edge = Edges[EdgeID];
    VertexEdgeLists.Unlink(Edge.Vertices.A, EdgeID, 0);
    VertexEdgeLists.Unlink(Edge.Vertices.B, EdgeID, 1);
    Edge.Vertices = VertexA < VertexB ? FIndex2i{VertexA, VertexB} : FIndex2i{VertexB, VertexA};
    VertexEdgeLists.Link(Edge.Vertices.A, EdgeID, 0);
    VertexEdgeLists.Link(Edge.Vertices.B, EdgeID, 1);
}

/** The triangle's edge joining the two corners. */
int32 FDynamicMesh3::FindTriEdge(int32 TriangleID, int32 VertexA, int32 VertexB) const
{
    const FIndex3i Tri = Triangles[TriangleID];
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        const int32 Next = Tri[(Corner + 1) % 3];
        if ((Tri[Corner] == VertexA && Next == VertexB) || (Tri[Corner] == VertexB && Next == VertexA))
        {
            return TriangleEdges[TriangleID][Corner];
        }
    }
    return InvalidID;
}

EMeshResult FDynamicMesh3::SplitEdge(int32 EdgeID, FEdgeSplitInfo& Info, double SplitT)
{
    if (!IsEdge(EdgeID))
    {
        return EMeshResult::Failed_NotAnEdge;
    }
    const FEdge Edge = Edges[EdgeID];
    Info = FEdgeSplitInfo();
    Info.OriginalEdge = EdgeID;
    Info.OriginalVertices = Edge.Vertices;
    Info.OriginalTriangles = Edge.Triangles;
    Info.SplitT = SplitT;
    const FVector& PositionA = Vertices[Edge.Vertices.A];
    const FVector Position = PositionA + (Vertices[Edge.Vertices.B] - PositionA) * SplitT;
    Info.NewVertex = AppendVertex(Position);
    // The edge keeps A and now ends at the new vertex; the other half is a new edge.
    MoveEdgeEnd(EdgeID, Edge.Vertices.B, Info.NewVertex);
    Info.NewEdges.A = AddEdge(Info.NewVertex, Edge.Vertices.B, InvalidID);
    for (int32 Side = 0; Side < 2; ++Side)
    {
        if (Edge.Triangles[Side] != InvalidID)
        {
            SplitEdgeSide(Side, Info);
        }
    }
    if (AttributeSet)
    {
        AttributeSet->OnSplitEdge(Info);
    }
    return EMeshResult::Ok;
}

/**
 * Cuts one triangle of the edge being split: it keeps A and takes the new vertex instead of B, and a new
 * triangle joins the new vertex, B and the triangle's other corner, both in the triangle's orientation.
 */
void FDynamicMesh3::SplitEdgeSide(int32 Side, FEdgeSplitInfo& Info)
{
    const int32 VertexA = Info.OriginalVertices.A;
    const int32 VertexB = Info.OriginalVertices.B;
    const int32 NewVertex = Info.NewVertex;
    const int32 TriangleID = Info.OriginalTriangles[Side];
    const FIndex3i Tri = Triangles[TriangleID];
    const int32 Other = OtherCorner(Tri, VertexA, VertexB);
    const int32 EdgeBC = FindTriEdge(TriangleID, VertexB, Other);
    Info.OtherVertices[Side] = Other;

    const int32 NewTriangle = AllocateTriangle(WithCorner(Tri, VertexA, NewVertex),
                                               bHasTriangleGroups ? TriangleGroups[TriangleID] : 0);
    Info.NewTriangles[Side] = NewTriangle;
    Triangles[TriangleID] = WithCorner(Tri, VertexB, NewVertex);
    VertexRefCounts.Decrement(VertexB);
    VertexRefCounts.Increment(NewVertex);

    const int32 EdgeFC = AddEdge(NewVertex, Other, TriangleID);
    Edges[EdgeFC].Triangles.B = NewTriangle;
    Info.NewEdges[Side + 1] = EdgeFC;
    ReplaceEdgeTriangle(EdgeBC, TriangleID, NewTriangle);
    FIndex2i& HalfTris = Edges[Info.NewEdges.A].Triangles;
    HalfTris[HalfTris.A == InvalidID ? 0 : 1] = NewTriangle;

    // The corner slots keep their places, so each edge takes the slot of the one it stands for.
    const FIndex3i OldEdges = TriangleEdges[TriangleID];
    FIndex3i KeptEdges = OldEdges;
    FIndex3i NewEdges = OldEdges;
    KeptEdges[OldEdges.IndexOf(EdgeBC)] = EdgeFC;
    NewEdges[OldEdges.IndexOf(Info.OriginalEdge)] = Info.NewEdges.A;
    NewEdges[OldEdges.IndexOf(FindTriEdge(TriangleID, Other, VertexA))] = EdgeFC;
    TriangleEdges[TriangleID] = KeptEdges;
    TriangleEdges[NewTriangle] = NewEdges;
}

EMeshResult FDynamicMesh3::CanFlipEdge(int32 EdgeID) const
{
    if (!IsEdge(EdgeID))
    {
        return EMeshResult::Failed_NotAnEdge;
    }
    const FEdge& Edge = Edges[EdgeID];
    if (Edge.Triangles.B == InvalidID)
    {
        return EMeshResult::Failed_IsBoundaryEdge;
    }
    const int32 OppositeA = OtherCorner(Triangles[Edge.Triangles.A], Edge.Vertices.A, Edge.Vertices.B);
    const int32 OppositeB = OtherCorner(Triangles[Edge.Triangles.B], Edge.Vertices.A, Edge.Vertices.B);
    if (OppositeA == OppositeB || FindEdge(OppositeA, OppositeB) != InvalidID)
    {
        return EMeshResult::Failed_FlippedEdgeExists;
    }
    const bool bGroupBorder =
        bHasTriangleGroups && TriangleGroups[Edge.Triangles.A] != TriangleGroups[Edge.Triangles.B];
    if (bGroupBorder || (AttributeSet && AttributeSet->IsAttributeBoundaryEdge(EdgeID)))
    {
        return EMeshResult::Failed_IsAttributeBoundary;
    }
    return EMeshResult::Ok;
}

EMeshResult FDynamicMesh3::FlipEdge(int32 EdgeID, FEdgeFlipInfo& Info)
{
    if (const EMeshResult Check = CanFlipEdge(EdgeID); Check != EMeshResult::Ok)
    {
        return Check;
    }
    const FEdge Edge = Edges[EdgeID];
    const int32 Tri0 = Edge.Triangles.A;
    const int32 Tri1 = Edge.Triangles.B;
    // A before B in the first triangle: (A, B, C) and (B, A, D) become (C, D, B) and (D, C, A).
    const bool bInOrder = IsOrientedEdge(Triangles[Tri0], Edge.Vertices.A, Edge.Vertices.B);
    const int32 VertexA = bInOrder ? Edge.Vertices.A : Edge.Vertices.B;
    const int32 VertexB = bInOrder ? Edge.Vertices.B : Edge.Vertices.A;
    const int32 VertexC = OtherCorner(Triangles[Tri0], VertexA, VertexB);
    const int32 VertexD = OtherCorner(Triangles[Tri1], VertexA, VertexB);
    Info = FEdgeFlipInfo{EdgeID, {VertexA, VertexB}, {VertexC, VertexD}, {Tri0, Tri1},
                         {Triangles[Tri0], Triangles[Tri1]}};

    const int32 EdgeBC = FindTriEdge(Tri0, VertexB, VertexC);
    const int32 EdgeCA = FindTriEdge(Tri0, VertexC, VertexA);
    const int32 EdgeAD = FindTriEdge(Tri1, VertexA, VertexD);
    const int32 EdgeDB = FindTriEdge(Tri1, VertexD, VertexB);
    Triangles[Tri0] = FIndex3i{VertexC, VertexD, VertexB};
    TriangleEdges[Tri0] = FIndex3i{EdgeID, EdgeDB, EdgeBC};
    Triangles[Tri1] = FIndex3i{VertexD, VertexC, VertexA};
    TriangleEdges[Tri1] = FIndex3i{EdgeID, EdgeCA, EdgeAD};
    ReplaceEdgeTriangle(EdgeDB, Tri1, Tri0);
    ReplaceEdgeTriangle(EdgeCA, Tri0, Tri1);
    ReplaceEdgeVertices(EdgeID, VertexC, VertexD);
    VertexRefCounts.Decrement(VertexA);
    VertexRefCounts.Decrement(VertexB);
    VertexRefCounts.Increment(VertexC);
    VertexRefCounts.Increment(VertexD);
    if (AttributeSet)
    {
        AttributeSet->OnFlipEdge(Info);
    }
    return EMeshResult::Ok;
}

EMeshResult FDynamicMesh3::CanCollapseEdge(int32 KeepVertexID, int32 RemoveVertexID) const
{
    if (!IsVertex(KeepVertexID) || !IsVertex(RemoveVertexID))
    {
        return EMeshResult::Failed_NotAVertex;
    }
    const int32 EdgeID = FindEdge(KeepVertexID, RemoveVertexID);
    if (EdgeID == InvalidID)
    {
        return EMeshResult::Failed_NotAnEdge;
    }
    const FIndex2i EdgeTris = Edges[EdgeID].Triangles;
    const int32 OppositeC = OtherCorner(Triangles[EdgeTris.A], KeepVertexID, RemoveVertexID);
    const int32 OppositeD =
        EdgeTris.B == InvalidID ? InvalidID : OtherCorner(Triangles[EdgeTris.B], KeepVertexID, RemoveVertexID);
    if (OppositeC == OppositeD)
    {
        return EMeshResult::Failed_CollapseDegenerate;
    }
    if (EdgeTris.B != InvalidID && IsBoundaryVertex(KeepVertexID) && IsBoundaryVertex(RemoveVertexID))
    {
        return EMeshResult::Failed_InvalidNeighbourhood;
    }
    for (const int32 RemovedEdge : VertexEdgeLists[RemoveVertexID])
    {
        const int32 Neighbour = Edges[RemovedEdge].Vertices.OtherElement(RemoveVertexID);
        if (Neighbour != KeepVertexID && Neighbour != OppositeC && Neighbour != OppositeD &&
            FindEdge(KeepVertexID, Neighbour) != InvalidID)
        {
            return EMeshResult::Failed_InvalidNeighbourhood;
        }
    }
    // A lone triangle would vanish, and so would the two sides of a tetrahedron-like fold.
    if (EdgeTris.B == InvalidID)
    {
        const int32 EdgeKC = FindTriEdge(EdgeTris.A, KeepVertexID, OppositeC);
        const int32 EdgeRC = FindTriEdge(EdgeTris.A, RemoveVertexID, OppositeC);
        if (Edges[EdgeKC].Triangles.B == InvalidID && Edges[EdgeRC].Triangles.B == InvalidID)
        {
            return EMeshResult::Failed_CollapseDegenerate;
        }
        return EMeshResult::Ok;
    }
    const int32 EdgeCD = FindEdge(OppositeC, OppositeD);
    if (EdgeCD != InvalidID && Edges[EdgeCD].Triangles.B != InvalidID)
    {
        const FIndex2i CDTris = Edges[EdgeCD].Triangles;
        const auto EitherContains = [this, CDTris](int32 VertexID)
        { return Triangles[CDTris.A].Contains(VertexID) || Triangles[CDTris.B].Contains(VertexID); };
        const bool bKeepSide = EitherContains(KeepVertexID);
        const bool bRemoveSide = EitherContains(RemoveVertexID);
        if (bKeepSide && bRemoveSide)
        {
            return EMeshResult::Failed_CollapseDegenerate;
        }
    }
    return EMeshResult::Ok;
}

EMeshResult FDynamicMesh3::CollapseEdge(int32 KeepVertexID, int32 RemoveVertexID, FEdgeCollapseInfo& Info,
                                        double CollapseT)
{
    if (const EMeshResult Check = CanCollapseEdge(KeepVertexID, RemoveVertexID); Check != EMeshResult::Ok)
    {
        return Check;
    }
    const int32 EdgeID = FindEdge(KeepVertexID, RemoveVertexID);
    const FIndex2i EdgeTris = Edges[EdgeID].Triangles;
    Info = FEdgeCollapseInfo();
    Info.KeptVertex = KeepVertexID;
    Info.RemovedVertex = RemoveVertexID;
    Info.CollapsedEdge = EdgeID;
    Info.RemovedTriangles = EdgeTris;
    Info.CollapseT = CollapseT;

    // What moves to the kept vertex: the removed vertex's triangles and edges off the collapsing edge.
    CollapseTriangleScratch.Reset();
    GetVtxTriangles(RemoveVertexID, CollapseTriangleScratch);
    CollapseTriangleScratch.RemoveAll([EdgeTris](int32 TriangleID) { return EdgeTris.Contains(TriangleID); });
    CollapseEdgeScratch.Reset();
    VertexEdgeLists.Gather(RemoveVertexID, CollapseEdgeScratch);

    for (int32 Side = 0; Side < 2; ++Side)
    {
        const int32 TriangleID = EdgeTris[Side];
        if (TriangleID == InvalidID)
        {
            continue;
        }
        const int32 Opposite = OtherCorner(Triangles[TriangleID], KeepVertexID, RemoveVertexID);
        Info.OpposingVertices[Side] = Opposite;
        Info.OldTriangles[Side] = Triangles[TriangleID];
        Info.KeptEdges[Side] = FindTriEdge(TriangleID, KeepVertexID, Opposite);
        Info.RemovedEdges[Side] = FindTriEdge(TriangleID, RemoveVertexID, Opposite);
        MergeCollapsedSide(TriangleID, Info.KeptEdges[Side], Info.RemovedEdges[Side]);
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            VertexRefCounts.Decrement(Info.OldTriangles[Side][Corner]);
        }
        FreeTriangle(TriangleID);
    }
    FreeEdge(EdgeID);
    for (const int32 MovedEdge : CollapseEdgeScratch)
    {
        if (MovedEdge != EdgeID && !Info.RemovedEdges.Contains(MovedEdge))
        {
            MoveEdgeEnd(MovedEdge, RemoveVertexID, KeepVertexID);
        }
    }
    for (const int32 TriangleID : CollapseTriangleScratch)
    {
        FIndex3i& Tri = Triangles[TriangleID];
        Tri[Tri.IndexOf(RemoveVertexID)] = KeepVertexID;
        VertexRefCounts.Decrement(RemoveVertexID);
        VertexRefCounts.Increment(KeepVertexID);
    }
    const FVector& KeepPosition = Vertices[KeepVertexID];
    Vertices[KeepVertexID] = KeepPosition + (Vertices[RemoveVertexID] - KeepPosition) * CollapseT;
    Info.MovedTriangles = std::span<const int32>(CollapseTriangleScratch.GetData(), CollapseTriangleScratch.Num());
    // The attributes blend the removed vertex into the kept one and forget it, so no removal is reported.
    if (AttributeSet)
    {
        AttributeSet->OnCollapseEdge(Info);
    }
    Vertices[RemoveVertexID] = FVector::ZeroVector;
    VertexRefCounts.Decrement(RemoveVertexID);
    return EMeshResult::Ok;
}

/**
 * Takes a triangle of the collapsing edge away from its two other edges: the removed vertex's edge goes,
 * and the kept vertex's edge takes over the triangle that lay across it.
 */
void FDynamicMesh3::MergeCollapsedSide(int32 RemovedTriangle, int32 KeptEdge, int32 RemovedEdge)
{
    const int32 Across = Edges[RemovedEdge].Triangles.OtherElement(RemovedTriangle);
    ReplaceEdgeTriangle(KeptEdge, RemovedTriangle, Across);
    if (Across != InvalidID)
    {
        ReplaceTriangleEdge(Across, RemovedEdge, KeptEdge);
    }
    FreeEdge(RemovedEdge);
}
