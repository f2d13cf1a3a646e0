#pragma once

#include "Core/Containers/Array.h"
#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "GeometryCore/DynamicMesh/DynamicMeshAttributeBase.h"
#include "GeometryCore/DynamicMesh/DynamicMeshAttributeValue.h"
#include "GeometryCore/DynamicMesh/MeshValidityReport.h"
#include "GeometryCore/IndexTypes.h"
#include "GeometryCore/Util/AssignGrowing.h"
#include "GeometryCore/Util/RefCountVector.h"

#include <span>
#include <utility>

/**
 * Values at triangle corners, such as texture coordinates or normals, that may differ between the
 * triangles meeting at a vertex.
 *
 * The values live in a pool of elements; each triangle names one element per corner, or none at all
 * (unset). An element belongs to one vertex of the mesh, its parent, fixed when a triangle first uses
 * it. Triangles that share an element share the value; where the two triangles of an edge use
 * different elements the edge is a seam. An element's reference count is one plus the number of corners
 * that use it, and an element whose last corner lets go of it is freed.
 */
template <typename RealType, int32 ElementSize>
class TDynamicMeshOverlay : public FDynamicMeshAttributeBase
{
public:
    using ElementType = TDynamicMeshValue<RealType, ElementSize>;
    static constexpr int32 InvalidID = FDynamicMesh3::InvalidID;

    /** An overlay of the mesh with no elements and every triangle unset. */
    explicit TDynamicMeshOverlay(const FDynamicMesh3* Mesh) : FDynamicMeshAttributeBase(Mesh)
    {
        TriangleElements.SetNum(Mesh->MaxTriangleID());
    }

    /** A new element without a parent vertex; the first triangle that uses it gives it one. */
    int32 AppendElement(const ElementType& Value)
    {
        const int32 ElementID = ElementRefCounts.Allocate();
        AssignGrowing(Elements, ElementID, Value);
        AssignGrowing(ParentVertices, ElementID, InvalidID);
        return ElementID;
    }
    void SetElement(int32 ElementID, const ElementType& Value)
    {
        VT_CHECKF(IsElement(ElementID), "%d is not an element", ElementID);
        Elements[ElementID] = Value;
    }
    const ElementType& GetElement(int32 ElementID) const
    {
        VT_CHECKF(IsElement(ElementID), "%d is not an element", ElementID);
        return Elements[ElementID];
    }
    /** Sizes the element pool for this many elements. */
    void ReserveElements(int32 NumElements)
    {
        ElementRefCounts.Reserve(NumElements);
        Elements.Reserve(NumElements);
        ParentVertices.Reserve(NumElements);
    }
    bool IsElement(int32 ElementID) const { return ElementRefCounts.IsValid(ElementID); }
    int32 ElementCount() const { return ElementRefCounts.GetLiveCount(); }
    int32 MaxElementID() const { return ElementRefCounts.GetMaxID(); }
    FRefCountVector::FRange ElementIndices() const { return ElementRefCounts.Indices(); }
    /** The vertex the element belongs to, or InvalidID before a triangle has used it. */
    int32 GetParentVertex(int32 ElementID) const
    {
        VT_CHECKF(IsElement(ElementID), "%d is not an element", ElementID);
        return ParentVertices[ElementID];
    }

    /**
     * Makes the triangle's corners use the given elements, or unsets it when all three are InvalidID.
     * Each element must be unused or belong to the vertex at its corner.
     */
    void SetTriangle(int32 TriangleID, const FIndex3i& TriElements);
    void UnsetTriangle(int32 TriangleID) { SetTriangle(TriangleID, FIndex3i()); }
    /** The triangle's elements, or three InvalidIDs when it is unset. */
    FIndex3i GetTriangle(int32 TriangleID) const { return TriangleElements[TriangleID]; }
    bool IsSetTriangle(int32 TriangleID) const { return TriangleElements[TriangleID].A != InvalidID; }
    /** The element the triangle uses at one of its vertices, or InvalidID when it is unset. */
    int32 GetElementAtVertex(int32 TriangleID, int32 VertexID) const;

    /** True when the edge's two triangles use different elements, or only one is set; never on a boundary. */
    bool IsSeamEdge(int32 EdgeID) const;
    /** True when a seam edge meets the vertex. */
    bool IsSeamVertex(int32 VertexID) const;

    /**
     * Gives the triangles, which meet at VertexID, elements there that no other triangle uses. An element
     * only they use is kept and now belongs to VertexID; one they share with other triangles is copied,
     * the copy belonging to VertexID, and they use the copy. The elements may belong to another vertex
     * before the call, as after a vertex split. Unset triangles are skipped; each triangle is listed once.
     */
    void SplitElementsAtVertex(int32 VertexID, std::span<const int32> TriangleIDs);

    void CheckValidity(FMeshValidityReport& Report) const override;

protected:
    void Reserve(int32 /*NumVertices*/, int32 NumTriangles) override { TriangleElements.Reserve(NumTriangles); }
    void OnNewTriangle(int32 TriangleID) override { AssignGrowing(TriangleElements, TriangleID, FIndex3i()); }
    void OnRemoveTriangle(int32 TriangleID) override { ReplaceTriangle(TriangleID, FIndex3i()); }
    void OnReverseTriOrientation(int32 TriangleID) override
    {
        FIndex3i& TriElements = TriangleElements[TriangleID];
        std::swap(TriElements.B, TriElements.C);
    }
    void OnSplitVertex(const FVertexSplitInfo& Split) override
    {
        SplitElementsAtVertex(Split.NewVertex, Split.MovedTriangles);
    }
    void OnSplitEdge(const FEdgeSplitInfo& Split) override;
    void OnFlipEdge(const FEdgeFlipInfo& Flip) override;
    void OnCollapseEdge(const FEdgeCollapseInfo& Collapse) override;

    /** The value between A and B that edge edits give a new or merged element. */
    virtual ElementType BlendElements(const ElementType& A, const ElementType& B, double T) const
    {
        return LerpDynamicMeshValue(A, B, T);
    }

private:
    void ReplaceTriangle(int32 TriangleID, const FIndex3i& TriElements);
    /** Points the triangle's corner at VertexID to another element, which must belong to that vertex. */
    void ReplaceCornerElement(int32 TriangleID, int32 VertexID, int32 ElementID);
    /** Splits one side of an edge; returns the new vertex's element there, reusing SharedElement if given. */
    int32 SplitEdgeSide(const FEdgeSplitInfo& Split, int32 Side, int32 SharedElement);
    /** Moves the corners at VertexID of the scratch entries [First, End) from ElementID to a new copy. */
    void MoveCornersToCopy(int32 ElementID, int32 VertexID, int32 First, int32 End);
    void AcquireElement(int32 ElementID, int32 VertexID);
    void ReleaseElement(int32 ElementID);

    FRefCountVector ElementRefCounts;
    TArray<ElementType> Elements;
    TArray<int32> ParentVertices;
    TArray<FIndex3i> TriangleElements;
    /** Pairs of (element, triangle) for SplitElementsAtVertex, kept to reuse its memory. */
    TArray<FIndex2i> SplitScratch;
};

template <typename RealType, int32 ElementSize>
void TDynamicMeshOverlay<RealType, ElementSize>::SetTriangle(int32 TriangleID, const FIndex3i& TriElements)
{
    VT_CHECKF(GetParentMesh()->IsTriangle(TriangleID), "%d is not a triangle", TriangleID);
    ReplaceTriangle(TriangleID, TriElements);
}

/** Takes the new elements before letting go of the old ones, so elements kept on the triangle survive. */
template <typename RealType, int32 ElementSize>
void TDynamicMeshOverlay<RealType, ElementSize>::ReplaceTriangle(int32 TriangleID,
                                                                 const FIndex3i& TriElements)
{
    const bool bUnset = TriElements == FIndex3i();
    if (!bUnset)
    {
        const FIndex3i TriVertices = GetParentMesh()->GetTriangle(TriangleID);
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            AcquireElement(TriElements[Corner], TriVertices[Corner]);
        }
    }
    const FIndex3i Previous = TriangleElements[TriangleID];
    TriangleElements[TriangleID] = TriElements;
    if (Previous != FIndex3i())
    {
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            ReleaseElement(Previous[Corner]);
        }
    }
}

template <typename RealType, int32 ElementSize>
void TDynamicMeshOverlay<RealType, ElementSize>::AcquireElement(int32 ElementID, int32 VertexID)
{
    VT_CHECKF(IsElement(ElementID), "%d is not an element", ElementID);
    int32& Parent = ParentVertices[ElementID];
    VT_CHECKF(Parent == InvalidID || Parent == VertexID, "element %d belongs to vertex %d, not %d", ElementID,
              Parent, VertexID);
    Parent = VertexID;
    ElementRefCounts.Increment(ElementID);
}

template <typename RealType, int32 ElementSize>
void TDynamicMeshOverlay<RealType, ElementSize>::ReleaseElement(int32 ElementID)
{
    if (ElementRefCounts.Decrement(ElementID) == 1)
    {
        ElementRefCounts.Decrement(ElementID);
        ParentVertices[ElementID] = InvalidID;
    }
}

template <typename RealType, int32 ElementSize>
void TDynamicMeshOverlay<RealType, ElementSize>::ReplaceCornerElement(int32 TriangleID, int32 VertexID,
                                                                      int32 ElementID)
{
    const int32 Corner = GetParentMesh()->GetTriangle(TriangleID).IndexOf(VertexID);
    const int32 Previous = TriangleElements[TriangleID][Corner];
    AcquireElement(ElementID, VertexID);
    TriangleElements[TriangleID][Corner] = ElementID;
    ReleaseElement(Previous);
}

/**
 * Each side of the split edge gets an element at the new vertex, blended from its elements at the edge's
 * ends; the second side shares the first side's element unless the edge is a seam. The new triangle of a
 * side takes the side's elements at the new vertex, at B and at the other corner.
 */
template <typename RealType, int32 ElementSize>
void TDynamicMeshOverlay<RealType, ElementSize>::OnSplitEdge(const FEdgeSplitInfo& Split)
{
    int32 SharedElement = InvalidID;
    for (int32 Side = 0; Side < 2; ++Side)
    {
        const int32 TriangleID = Split.OriginalTriangles[Side];
        if (TriangleID != InvalidID && IsSetTriangle(TriangleID))
        {
            SharedElement = SplitEdgeSide(Split, Side, SharedElement);
        }
    }
}

template <typename RealType, int32 ElementSize>
int32 TDynamicMeshOverlay<RealType, ElementSize>::SplitEdgeSide(const FEdgeSplitInfo& Split, int32 Side,
                                                                int32 SharedElement)
{
    const FDynamicMesh3& Mesh = *GetParentMesh();
    const int32 TriangleID = Split.OriginalTriangles[Side];
    const FIndex3i Tri = Mesh.GetTriangle(TriangleID);
    const FIndex3i TriElements = TriangleElements[TriangleID];
    const int32 ElementA = TriElements[Tri.IndexOf(Split.OriginalVertices.A)];
    const int32 ElementB = TriElements[Tri.IndexOf(Split.NewVertex)];
    const int32 ElementC = TriElements[Tri.IndexOf(Split.OtherVertices[Side])];
    // The first side is the one triangle on A's side and B's side with these elements when there is no seam.
    const FIndex2i FirstSide = Side == 1 && SharedElement != InvalidID
                                   ? FIndex2i{GetElementAtVertex(Split.OriginalTriangles.A, Split.OriginalVertices.A),
                                              GetElementAtVertex(Split.NewTriangles.A, Split.OriginalVertices.B)}
                                   : FIndex2i();
    int32 ElementF = SharedElement;
    if (FirstSide != FIndex2i{ElementA, ElementB})
    {
        ElementF = AppendElement(BlendElements(Elements[ElementA], Elements[ElementB], Split.SplitT));
    }
    const int32 NewTriangle = Split.NewTriangles[Side];
    const FIndex3i NewTri = Mesh.GetTriangle(NewTriangle);
    FIndex3i NewElements;
    for (int32 Corner = 0; Corner < 3; ++Corner)
    {
        const int32 VertexID = NewTri[Corner];
        NewElements[Corner] =
            VertexID == Split.NewVertex ? ElementF : (VertexID == Split.OriginalVertices.B ? ElementB : ElementC);
    }
    ReplaceTriangle(NewTriangle, NewElements);
    ReplaceCornerElement(TriangleID, Split.NewVertex, ElementF);
    return ElementF;
}

/** The two triangles keep the elements of their corners, each corner's from the side it came from. */
template <typename RealType, int32 ElementSize>
void TDynamicMeshOverlay<RealType, ElementSize>::OnFlipEdge(const FEdgeFlipInfo& Flip)
{
    const FIndex3i Old[2] = {TriangleElements[Flip.Triangles.A], TriangleElements[Flip.Triangles.B]};
    if (Old[0] == FIndex3i() && Old[1] == FIndex3i())
    {
        return;
    }
    VT_CHECKF(Old[0] != FIndex3i() && Old[1] != FIndex3i(), "edge %d was flipped across a seam", Flip.EdgeID);
    const auto ElementAt = [&](int32 VertexID)
    {
        const int32 Corner = Flip.OldTriangles[0].IndexOf(VertexID);
        return Corner >= 0 ? Old[0][Corner] : Old[1][Flip.OldTriangles[1].IndexOf(VertexID)];
    };
    for (const int32 TriangleID : {Flip.Triangles.A, Flip.Triangles.B})
    {
        const FIndex3i Tri = GetParentMesh()->GetTriangle(TriangleID);
        ReplaceTriangle(TriangleID, FIndex3i{ElementAt(Tri.A), ElementAt(Tri.B), ElementAt(Tri.C)});
    }
}

/**
 * The kept vertex's element on each side of the edge takes the blend with the removed vertex's element
 * there, and the moved triangles use it where they used that element; elements of the removed vertex
 * beyond the edge's two sides now belong to the kept vertex. The removed triangles let go of theirs.
 */
template <typename RealType, int32 ElementSize>
void TDynamicMeshOverlay<RealType, ElementSize>::OnCollapseEdge(const FEdgeCollapseInfo& Collapse)
{
    FIndex2i KeptElements;
    FIndex2i RemovedElements;
    for (int32 Side = 0; Side < 2; ++Side)
    {
        const int32 TriangleID = Collapse.RemovedTriangles[Side];
        if (TriangleID != InvalidID && TriangleElements[TriangleID] != FIndex3i())
        {
            const FIndex3i& Old = Collapse.OldTriangles[Side];
            KeptElements[Side] = TriangleElements[TriangleID][Old.IndexOf(Collapse.KeptVertex)];
            RemovedElements[Side] = TriangleElements[TriangleID][Old.IndexOf(Collapse.RemovedVertex)];
            if (Side == 0 || KeptElements.B != KeptElements.A)
            {
                Elements[KeptElements[Side]] = BlendElements(Elements[KeptElements[Side]],
                                                             Elements[RemovedElements[Side]], Collapse.CollapseT);
            }
        }
    }
    for (const int32 TriangleID : Collapse.MovedTriangles)
    {
        if (!IsSetTriangle(TriangleID))
        {
            continue;
        }
        const int32 ElementID = GetElementAtVertex(TriangleID, Collapse.KeptVertex);
        const int32 Side = RemovedElements.IndexOf(ElementID);
        if (Side >= 0)
        {
            ReplaceCornerElement(TriangleID, Collapse.KeptVertex, KeptElements[Side]);
        }
        else
        {
            ParentVertices[ElementID] = Collapse.KeptVertex;
        }
    }
    for (const int32 TriangleID : {Collapse.RemovedTriangles.A, Collapse.RemovedTriangles.B})
    {
        if (TriangleID != InvalidID)
        {
            ReplaceTriangle(TriangleID, FIndex3i());
        }
    }
}

template <typename RealType, int32 ElementSize>
int32 TDynamicMeshOverlay<RealType, ElementSize>::GetElementAtVertex(int32 TriangleID, int32 VertexID) const
{
    const int32 Corner = GetParentMesh()->GetTriangle(TriangleID).IndexOf(VertexID);
    VT_CHECKF(Corner >= 0, "vertex %d is not a corner of triangle %d", VertexID, TriangleID);
    return TriangleElements[TriangleID][Corner];
}

template <typename RealType, int32 ElementSize>
bool TDynamicMeshOverlay<RealType, ElementSize>::IsSeamEdge(int32 EdgeID) const
{
    const FIndex2i EdgeTris = GetParentMesh()->GetEdgeT(EdgeID);
    if (EdgeTris.B == InvalidID)
    {
        return false;
    }
    const FIndex2i EdgeVertices = GetParentMesh()->GetEdgeV(EdgeID);
    const FIndex3i TriA = GetParentMesh()->GetTriangle(EdgeTris.A);
    const FIndex3i TriB = GetParentMesh()->GetTriangle(EdgeTris.B);
    const FIndex3i& ElementsA = TriangleElements[EdgeTris.A];
    const FIndex3i& ElementsB = TriangleElements[EdgeTris.B];
    return ElementsA[TriA.IndexOf(EdgeVertices.A)] != ElementsB[TriB.IndexOf(EdgeVertices.A)] ||
           ElementsA[TriA.IndexOf(EdgeVertices.B)] != ElementsB[TriB.IndexOf(EdgeVertices.B)];
}

template <typename RealType, int32 ElementSize>
bool TDynamicMeshOverlay<RealType, ElementSize>::IsSeamVertex(int32 VertexID) const
{
    for (const int32 EdgeID : GetParentMesh()->VtxEdges(VertexID))
    {
        if (IsSeamEdge(EdgeID))
        {
            return true;
        }
    }
    return false;
}

template <typename RealType, int32 ElementSize>
void TDynamicMeshOverlay<RealType, ElementSize>::SplitElementsAtVertex(int32 VertexID,
                                                                       std::span<const int32> TriangleIDs)
{
    // Sorted by element, the corners that use each element lie together.
    SplitScratch.Reset();
    for (const int32 TriangleID : TriangleIDs)
    {
        if (IsSetTriangle(TriangleID))
        {
            SplitScratch.Add(FIndex2i{GetElementAtVertex(TriangleID, VertexID), TriangleID});
        }
    }
    SplitScratch.Sort([](const FIndex2i& Left, const FIndex2i& Right)
                      { return Left.A != Right.A ? Left.A < Right.A : Left.B < Right.B; });
    for (int32 First = 0; First < SplitScratch.Num();)
    {
        const int32 ElementID = SplitScratch[First].A;
        int32 End = First + 1;
        while (End < SplitScratch.Num() && SplitScratch[End].A == ElementID)
        {
            ++End;
        }
        const int32 NumCorners = ElementRefCounts.GetCount(ElementID) - 1;
        VT_CHECKF(End - First <= NumCorners, "element %d: a triangle is listed twice", ElementID);
        if (End - First == NumCorners)
        {
            ParentVertices[ElementID] = VertexID;
        }
        else
        {
            MoveCornersToCopy(ElementID, VertexID, First, End);
        }
        First = End;
    }
}

template <typename RealType, int32 ElementSize>
void TDynamicMeshOverlay<RealType, ElementSize>::MoveCornersToCopy(int32 ElementID, int32 VertexID,
                                                                   int32 First, int32 End)
{
    // The value is copied out first: appending may move the element storage.
    const ElementType Value = Elements[ElementID];
    const int32 CopyID = AppendElement(Value);
    ParentVertices[CopyID] = VertexID;
    for (int32 Index = First; Index < End; ++Index)
    {
        const int32 TriangleID = SplitScratch[Index].B;
        const int32 Corner = GetParentMesh()->GetTriangle(TriangleID).IndexOf(VertexID);
        TriangleElements[TriangleID][Corner] = CopyID;
        ElementRefCounts.Increment(CopyID);
        ElementRefCounts.Decrement(ElementID);
    }
}

/**
 * Sizes, unset triangles where the mesh has none, parents against triangle corners, and reference
 * counts against a recount of the corners.
 */
template <typename RealType, int32 ElementSize>
void TDynamicMeshOverlay<RealType, ElementSize>::CheckValidity(FMeshValidityReport& Report) const
{
    const FDynamicMesh3& Mesh = *GetParentMesh();
    if (!Report.Check(TriangleElements.Num() == Mesh.MaxTriangleID(), "overlay has %d triangles for %d IDs",
                      TriangleElements.Num(), Mesh.MaxTriangleID()) ||
        !Report.Check(Elements.Num() == MaxElementID() && ParentVertices.Num() == MaxElementID() &&
                          ElementRefCounts.IsConsistent(),
                      "overlay element storage disagrees with its %d IDs", MaxElementID()))
    {
        return;
    }
    TArray<int32> Uses;
    Uses.Init(0, MaxElementID());
    for (int32 TriangleID = 0; TriangleID < Mesh.MaxTriangleID(); ++TriangleID)
    {
        const FIndex3i TriElements = TriangleElements[TriangleID];
        if (!Mesh.IsTriangle(TriangleID) || TriElements == FIndex3i())
        {
            Report.Check(TriElements == FIndex3i(), "overlay sets removed triangle %d", TriangleID);
            continue;
        }
        const FIndex3i TriVertices = Mesh.GetTriangle(TriangleID);
        for (int32 Corner = 0; Corner < 3; ++Corner)
        {
            const int32 ElementID = TriElements[Corner];
            if (Report.Check(IsElement(ElementID), "triangle %d uses %d, not an element", TriangleID,
                             ElementID))
            {
                ++Uses[ElementID];
                Report.Check(ParentVertices[ElementID] == TriVertices[Corner],
                             "element %d of vertex %d is used at vertex %d", ElementID,
                             ParentVertices[ElementID], TriVertices[Corner]);
            }
        }
    }
    for (const int32 ElementID : ElementIndices())
    {
        Report.Check(ElementRefCounts.GetCount(ElementID) == Uses[ElementID] + 1,
                     "element %d has count %d for %d corners", ElementID,
                     ElementRefCounts.GetCount(ElementID), Uses[ElementID]);
        Report.Check(Uses[ElementID] > 0 || ParentVertices[ElementID] == InvalidID,
                     "unused element %d keeps parent %d", ElementID, ParentVertices[ElementID]);
    }
}
