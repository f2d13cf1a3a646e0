#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Vector.h"
#include "GeometryCore/DynamicMesh/EdgeEditInfo.h"
#include "GeometryCore/Remesher/MeshConstraints.h"

#include <algorithm>

class FDynamicMesh3;
class IProjectionTarget;

/** What one remesh pass did. */
struct FRemeshPassStats
{
    int32 Splits = 0;
    int32 Collapses = 0;
    int32 Flips = 0;
    int32 VerticesMoved = 0;
};

/**
 * Isotropic remeshing after Botsch and Kobbelt: a pass splits the edges longer than 4/3 of the target
 * length, collapses those shorter than 4/5 of it, flips edges towards valence 6 (4 on a boundary), and
 * moves every free vertex towards the area-weighted centre of its triangles within its tangent plane and
 * back onto the projection target. A clean-up ends the pass: it flips edges whose two triangles gain a
 * larger smallest angle and moves the vertices of triangles still under 30 degrees to better shapes.
 * Neither a collapse nor a valence flip may leave a triangle much thinner than the thinnest it replaces
 * (see CollapseKeepsShapes and TryFlip).
 *
 * Constraints say which edges may be split, flipped or collapsed and which vertices may move or go.
 * Boundary vertices of the mesh never move. Each pass visits the edges that ListPassEdges gives (every
 * edge of the mesh here; a region in FSubRegionRemesher), the edges its own splits create, and the
 * vertices that ListPassVertices gives; it allocates nothing per element and reuses its buffers.
 */
class FRemesher
{
public:
    explicit FRemesher(FDynamicMesh3* InMesh);
    virtual ~FRemesher() = default;
    FRemesher(const FRemesher&) = delete;
    FRemesher& operator=(const FRemesher&) = delete;

    /** Edges above 4/3 of this length are split, edges below 4/5 of it collapsed. */
    void SetTargetEdgeLength(double Length);
    double GetTargetEdgeLength() const { return TargetEdgeLength; }

    /**
     * Curvature-adaptive sizing (Dunyach et al. 2013), off (0) after construction. Above zero, each vertex
     * of the next pass gets its own target length, short enough that flat triangles on the surface as it
     * is then sag at most MaxDeviation below it, between a quarter of the target length and the target
     * length itself; an edge's target is its ends' shorter one. Splits and collapses interpolate it.
     */
    void SetAdaptiveSizing(double MaxDeviation);
    /** The target length at the vertex: its own under adaptive sizing, the target edge length otherwise. */
    double GetVertexTargetLength(int32 VertexID) const
    {
        return VertexTargetLengths.IsValidIndex(VertexID) && VertexTargetLengths[VertexID] > 0.0
                   ? VertexTargetLengths[VertexID]
                   : TargetEdgeLength;
    }

    /** Replaces the constraints; the remesher keeps them current through its edits. */
    void SetExternalConstraints(FMeshConstraints InConstraints) { Constraints = std::move(InConstraints); }
    const FMeshConstraints& GetConstraints() const { return Constraints; }

    /** The surface moved vertices go back onto, or none. */
    void SetProjectionTarget(IProjectionTarget* Target) { ProjectionTarget = Target; }
    IProjectionTarget* GetProjectionTarget() const { return ProjectionTarget; }

    /** One pass: splits, collapses, flips, smoothing with projection, then the clean-up. */
    virtual void BasicRemeshPass();
    const FRemeshPassStats& GetLastPassStats() const { return Stats; }

    FDynamicMesh3* GetMesh() const { return Mesh; }

    bool bEnableSplits = true;
    bool bEnableCollapses = true;
    bool bEnableFlips = true;
    bool bEnableSmoothing = true;
    /** The pass's last step: flips towards larger smallest angles, then moves of thin triangles' corners. */
    bool bEnableCleanUp = true;
    /** How far a vertex moves towards its tangential centre in one pass, 0 to 1. */
    double SmoothSpeedT = 1.0;
    /** Refuses every edit that would turn a triangle to face away from where it faced. Off by default. */
    bool bPreventNormalFlips = false;

protected:
    /** The edges a pass starts from. */
    virtual void ListPassEdges(TArray<int32>& OutEdges);
    /** The vertices a pass smooths. */
    virtual void ListPassVertices(TArray<int32>& OutVertices);
    /** False for an edge whose triangles the remesher must leave alone. */
    virtual bool IsEditableEdge(int32 /*EdgeID*/) const { return true; }
    /** False for a vertex the remesher must not move or remove, beyond its constraint. */
    virtual bool IsEditableVertex(int32 /*VertexID*/) const { return true; }
    /** Tell subclasses what changed, after the mesh and the constraints did. */
    virtual void OnEdgeSplit(const FEdgeSplitInfo& /*Split*/) {}
    virtual void OnEdgeCollapse(const FEdgeCollapseInfo& /*Collapse*/) {}

    FDynamicMesh3* Mesh;
    FMeshConstraints Constraints;
    IProjectionTarget* ProjectionTarget = nullptr;
    double TargetEdgeLength = 1.0;
    FRemeshPassStats Stats;

private:
    double AdaptiveMaxDeviation = 0.0;
    /** Set by SetAdaptiveSizing until the next pass measures the lengths. */
    bool bMeasureSizing = false;
    /** Per vertex ID its own target length under adaptive sizing, 0 for none; empty otherwise. */
    TArray<double> VertexTargetLengths;

    /** The thinness of two triangles side by side. */
    struct FQuadShapes
    {
        double Thinness[2] = {1.0, 1.0};
        double Thinnest() const { return std::max(Thinness[0], Thinness[1]); }
    };
    /** An edge between two triangles: A and B its ends in the first triangle's order, C and D the corners across. */
    struct FFlipQuad
    {
        int32 EdgeID = -1;
        FIndex2i Triangles;
        int32 A = -1;
        int32 B = -1;
        int32 C = -1;
        int32 D = -1;
        /** The corners' positions, once loaded. */
        FVector PA;
        FVector PB;
        FVector PC;
        FVector PD;
        /** Triangles ABC and BAD now, CDB and DCA after the flip, once measured. */
        FQuadShapes Before;
        FQuadShapes After;
    };

    void SplitPass();
    void CollapsePass();
    void FlipPass();
    void SmoothPass();
    void CleanUpPass();

    bool TrySplit(int32 EdgeID);
    bool TryCollapse(int32 EdgeID);
    bool TryFlip(int32 EdgeID);
    bool TrySmooth(int32 VertexID);
    /** Flips the edge when the smaller of its two triangles' smallest angles grows (a Delaunay flip). */
    bool TryShapeFlip(int32 EdgeID);
    /** Moves a vertex of a triangle under 30 degrees to where its triangles' smallest angle is larger. */
    bool TryRelocate(int32 VertexID);
    /** False when the edge may not flip: constrained, on a boundary, or outside what the remesher edits. */
    bool GetFlipQuad(int32 EdgeID, FFlipQuad& OutQuad) const;
    /** Reads the positions of the quad's corners. */
    void LoadCorners(FFlipQuad& Quad) const;
    static void MeasureShapesBefore(FFlipQuad& Quad);
    static void MeasureShapesAfter(FFlipQuad& Quad);
    /** How much further the quad's four valences get from their targets by the flip (summed distances). */
    int32 FlipValenceChange(const FFlipQuad& Quad) const;
    /** True when both new triangles face the way both old ones did, so that the flip folds nothing over. */
    bool FlipFoldsNothing(const FFlipQuad& Quad) const;
    bool ApplyFlip(const FFlipQuad& Quad);
    /** Marks for the relocation the corners of whichever of the quad's triangles are under 30 degrees now. */
    void MarkThinCorners(const FFlipQuad& Quad, bool bFlipped);
    /** The triangle's thinness, measured once per clean-up (the clean-up's flips measure again). */
    double MeasuredThinness(int32 TriangleID);
    void MarkForRelocation(int32 VertexID);

    void GatherFan(int32 VertexID);
    bool TangentialCentre(const FVector& Position, FVector& OutCentre) const;
    bool FanKeepsOrientation(const FVector& NewPosition) const;
    /** The thinness of the fan's thinnest triangle, its vertex at Position. */
    double FanThinnest(const FVector& Position) const;
    /** The average of the apexes of equilateral triangles on the fan's outer edges, on the vertex's side. */
    FVector FanIdealCentre(const FVector& Position) const;
    /** False when the move brings a neighbour nearer than Nearest, unless one was nearer already. */
    bool FanKeepsNeighboursApart(const FVector& Position, const FVector& NewPosition, double Nearest) const;
    /** The surface the vertex goes back onto: its constraint's target, else the remesher's, or none. */
    IProjectionTarget* VertexProjectionTarget(int32 VertexID) const;

    /** Measures the target length of every vertex of the pass, under adaptive sizing. */
    void MeasureVertexTargetLengths();
    /** The target length of the edge between the two vertices. */
    double EdgeTargetLength(int32 VertexA, int32 VertexB) const
    {
        return std::min(GetVertexTargetLength(VertexA), GetVertexTargetLength(VertexB));
    }
    void SetVertexTargetLength(int32 VertexID, double Length);

    bool CanMoveVertex(int32 VertexID) const;
    bool CanRemoveVertex(int32 VertexID) const;
    /** The edit's kept vertex and where it goes, or false when neither end may go. */
    bool ChooseCollapse(const FIndex2i& EdgeVertices, int32& OutKeep, int32& OutRemove, double& OutT) const;
    /** True when every edge from the moved vertices to their other neighbours stays short enough. */
    bool CollapseKeepsEdgesShort(int32 Keep, int32 Remove, const FVector& NewPosition, double NewTarget);
    /**
     * False when the collapse would leave a triangle under 15 degrees with a corner that cannot move, thinner
     * than the thinnest of the triangles it changes: nothing could mend it later. Reads TriangleScratch, the
     * triangles of both ends.
     */
    bool CollapseKeepsShapes(int32 Keep, int32 Remove, const FVector& NewPosition,
                             const FIndex2i& Removed) const;
    /** The thinness of the thinnest of the listed triangles. */
    double ThinnestOf(const TArray<int32>& Triangles) const;
    /**
     * True when no triangle of the listed ones, with the vertices Moved moved to NewPosition, would face
     * away from its old normal or lose its area. Triangles in Skip are ignored.
     */
    bool KeepsOrientation(const TArray<int32>& Triangles, const FIndex2i& Moved, const FVector& NewPosition,
                          const FIndex2i& Skip) const;
    void UpdateConstraintsAfterSplit(const FEdgeSplitInfo& Split);
    void UpdateConstraintsAfterCollapse(const FEdgeCollapseInfo& Collapse);
    /** The vertex's valence less its ideal one: 6 inside, 4 on a boundary. */
    int32 ValenceExcess(int32 VertexID) const;

    /** The pass's edges: the listed ones, then those its splits add. */
    TArray<int32> PassEdges;
    /** Edges from the split pass's new vertices across their triangles. */
    TArray<int32> CrossEdges;
    TArray<int32> PassVertices;
    /** The clean-up's vertices to relocate, each once: the list and a mark per vertex ID. */
    TArray<int32> RelocationVertices;
    TArray<uint8> RelocationMarks;
    /** Per triangle ID its thinness and the clean-up that measured it (ThinnessStamp for this one). */
    TArray<double> Thinnesses;
    TArray<int32> ThinnessStamps;
    int32 ThinnessStamp = 0;
    TArray<int32> TriangleScratch;
    struct FFanTriangle
    {
        FVector Next;
        FVector Previous;
        FVector Cross;
    };
    /** The triangles around the vertex being smoothed. */
    TArray<FFanTriangle> Fan;
};
