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
 * back onto the projection target.
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

    /** One pass: splits, collapses, flips, then smoothing with projection. */
    virtual void BasicRemeshPass();
    const FRemeshPassStats& GetLastPassStats() const { return Stats; }

    FDynamicMesh3* GetMesh() const { return Mesh; }

    bool bEnableSplits = true;
    bool bEnableCollapses = true;
    bool bEnableFlips = true;
    bool bEnableSmoothing = true;
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

    void SplitPass();
    void CollapsePass();
    void FlipPass();
    void SmoothPass();

    bool TrySplit(int32 EdgeID);
    bool TryCollapse(int32 EdgeID);
    bool TryFlip(int32 EdgeID);
    bool TrySmooth(int32 VertexID);
    void GatherFan(int32 VertexID);
    bool TangentialCentre(const FVector& Position, FVector& OutCentre) const;
    bool FanKeepsOrientation(const FVector& NewPosition) const;

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
