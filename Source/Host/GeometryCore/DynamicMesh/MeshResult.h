#pragma once

#include "Core/CoreTypes.h"

/** The outcome of a topology edit of a dynamic mesh; every failure leaves the mesh unchanged. */
enum class EMeshResult : uint8
{
    Ok,
    Failed_NotAVertex,
    Failed_NotAnEdge,
    /** A flip needs two triangles on the edge. */
    Failed_IsBoundaryEdge,
    /** The edge a flip would make exists already, or the two triangles share all their corners. */
    Failed_FlippedEdgeExists,
    /** A flip would carry attribute values across a seam, a material or a triangle-group border. */
    Failed_IsAttributeBoundary,
    /** A collapse would join two vertices that share neighbours other than the edge's opposite corners,
        or pinch the mesh between two boundaries. */
    Failed_InvalidNeighbourhood,
    /** A collapse would fold a tetrahedron-like neighbourhood or a lone triangle into nothing. */
    Failed_CollapseDegenerate,
};
