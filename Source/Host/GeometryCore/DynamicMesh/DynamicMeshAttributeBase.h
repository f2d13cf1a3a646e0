#pragma once

#include "Core/CoreTypes.h"
#include "GeometryCore/DynamicMesh/EdgeEditInfo.h"
#include "GeometryCore/DynamicMesh/VertexSplitInfo.h"

class FDynamicMesh3;
class FMeshValidityReport;

/**
 * Data attached to the elements of a dynamic mesh and kept in step with its topology.
 *
 * The parent mesh reports each change through the hooks below: new elements after they exist,
 * removals before they happen, so an attribute can still read what goes away. A hook does nothing
 * unless the attribute stores data for that kind of element. Edits that rewire existing elements
 * (reversing a triangle, splitting a vertex) report once they are done, with the IDs they touched;
 * the attribute set forwards every hook to all its attributes.
 */
class FDynamicMeshAttributeBase
{
public:
    explicit FDynamicMeshAttributeBase(const FDynamicMesh3* InParentMesh) : ParentMesh(InParentMesh) {}
    virtual ~FDynamicMeshAttributeBase() = default;

    const FDynamicMesh3* GetParentMesh() const { return ParentMesh; }

    /** Adds to Report every way in which the attribute disagrees with its parent mesh. */
    virtual void CheckValidity(FMeshValidityReport& Report) const = 0;

protected:
    friend class FDynamicMesh3;
    friend class FDynamicMeshAttributeSet;

    FDynamicMeshAttributeBase(const FDynamicMeshAttributeBase&) = default;
    FDynamicMeshAttributeBase& operator=(const FDynamicMeshAttributeBase&) = default;

    /** The mesh is about to grow to this many vertices and triangles: size the storage for them. */
    virtual void Reserve(int32 /*NumVertices*/, int32 /*NumTriangles*/) {}
    virtual void OnNewVertex(int32 /*VertexID*/) {}
    virtual void OnRemoveVertex(int32 /*VertexID*/) {}
    virtual void OnNewTriangle(int32 /*TriangleID*/) {}
    virtual void OnRemoveTriangle(int32 /*TriangleID*/) {}
    /** The triangle's second and third corners have swapped places. */
    virtual void OnReverseTriOrientation(int32 /*TriangleID*/) {}
    /** A vertex was split; the new vertex exists and the moved triangles use it already. */
    virtual void OnSplitVertex(const FVertexSplitInfo& /*Split*/) {}
    /** An edge was split; the new vertex and triangles exist (new triangles reported already). */
    virtual void OnSplitEdge(const FEdgeSplitInfo& /*Split*/) {}
    /** An edge was flipped; its triangles have their new corners. */
    virtual void OnFlipEdge(const FEdgeFlipInfo& /*Flip*/) {}
    /**
     * An edge was collapsed: the removed triangles are gone, the moved ones use the kept vertex, and the
     * removed vertex is about to be freed without a removal of its own being reported.
     */
    virtual void OnCollapseEdge(const FEdgeCollapseInfo& /*Collapse*/) {}

    /** Attaches the attribute to another mesh with the same elements, after a copy or a move. */
    virtual void Reparent(const FDynamicMesh3* NewParentMesh) { ParentMesh = NewParentMesh; }

private:
    const FDynamicMesh3* ParentMesh;
};
