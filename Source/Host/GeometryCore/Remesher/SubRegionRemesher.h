#pragma once

#include "Core/Containers/Array.h"
#include "GeometryCore/Remesher/Remesher.h"

/**
 * A remesher that works on a region of a mesh and leaves the rest untouched.
 *
 * The region starts as a set of triangles; their vertices form VertexROI and their edges EdgeROI, and
 * all three follow the edits (a split adds its new elements, a collapse takes its removed ones away).
 * Only edges whose triangles all lie in the region are edited, and vertices with a triangle outside it
 * never move. Before every pass UpdateROI lists the edges of the current EdgeROI for the pass to visit;
 * a pass without an update is a programming error. Every step costs time linear in the region: the
 * region is kept as per-ID marks (sized once) beside lists.
 */
class FSubRegionRemesher : public FRemesher
{
public:
    explicit FSubRegionRemesher(FDynamicMesh3* InMesh) : FRemesher(InMesh) {}

    /** Makes the listed triangles the region (IDs that are not triangles are skipped). */
    template <typename TriangleRangeType>
    void InitializeFromTriangles(const TriangleRangeType& Triangles)
    {
        ResetROI();
        for (const int32 TriangleID : Triangles)
        {
            AddTriangleAndItsElements(TriangleID);
        }
        MarkBorderVertices();
    }

    /** Lists the edges of the current EdgeROI for the next pass. */
    void UpdateROI();
    /** One pass over the edges the last UpdateROI listed; stops the process when there was none since. */
    void BasicRemeshPass() override;

    bool IsTriangleInROI(int32 TriangleID) const { return HasMark(TriangleMarks, TriangleID, InROI); }
    bool IsVertexInROI(int32 VertexID) const { return HasMark(VertexMarks, VertexID, InROI); }
    bool IsEdgeInROI(int32 EdgeID) const { return HasMark(EdgeMarks, EdgeID, InROI); }
    /** The region's vertices and edges at the last UpdateROI, each once. */
    const TArray<int32>& GetVertexROI() const { return VertexROI; }
    const TArray<int32>& GetEdgeROI() const { return EdgeROI; }

protected:
    int32 LastRemeshPassCounter = 0;
    int32 LastUpdateROICounter = 0;

    void ListPassEdges(TArray<int32>& OutEdges) override;
    void ListPassVertices(TArray<int32>& OutVertices) override;
    bool IsEditableEdge(int32 EdgeID) const override;
    bool IsEditableVertex(int32 VertexID) const override;
    void OnEdgeSplit(const FEdgeSplitInfo& Split) override;
    void OnEdgeCollapse(const FEdgeCollapseInfo& Collapse) override;

private:
    static constexpr uint8 InROI = 1;
    /** A vertex with a triangle outside the region. */
    static constexpr uint8 OnBorder = 2;
    /** Set while compacting a list, so each ID stays in it once. */
    static constexpr uint8 Listed = 4;

    static bool HasMark(const TArray<uint8>& Marks, int32 ID, uint8 Mark)
    {
        return Marks.IsValidIndex(ID) && (Marks[ID] & Mark) != 0;
    }
    static void AddToROI(TArray<uint8>& Marks, TArray<int32>* List, int32 ID);
    static void RemoveFromROI(TArray<uint8>& Marks, int32 ID);
    /** Drops removed and repeated IDs from the list. */
    static void CompactROI(TArray<uint8>& Marks, TArray<int32>& List);

    void ResetROI();
    void AddTriangleAndItsElements(int32 TriangleID);
    void MarkBorderVertices();

    TArray<uint8> TriangleMarks;
    TArray<uint8> VertexMarks;
    TArray<uint8> EdgeMarks;
    TArray<int32> VertexROI;
    TArray<int32> EdgeROI;
    TArray<int32> NextPassEdges;
    TArray<int32> BorderScratch;
};
