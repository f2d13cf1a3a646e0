#pragma once

#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "MeshDescription/MeshDescription.h"

/**
 * Converts a mesh description into a dynamic mesh with attributes: positions; overlays for texture
 * coordinates, normals, optionally tangents, and colours, each with one element per distinct value at a
 * vertex, so that each overlay has seams exactly where its values split; the polygon group of each triangle
 * as its material ID and triangle group, skin weights per profile, morph-target position deltas, and the list
 * of polygon groups with their slot names.
 *
 * Triangles keep the order of the description's triangle IDs. A triangle that would make an edge
 * non-manifold, or repeat another, gets its own copies of its three vertices, so no triangle is lost.
 * Morph-target normal deltas have no place in a dynamic mesh and are not carried.
 */
class FMeshDescriptionToDynamicMesh
{
public:
    /** For every triangle of the converted mesh, the description triangle it was made from. */
    TArray<FTriangleID> TriangleMap;
    /** For every vertex of the converted mesh, the description vertex it was made from. */
    TArray<FVertexID> VertexMap;

    /** Tangents are copied by default, as the converter back does, so that a round trip keeps them. */
    void Convert(const FMeshDescription& MeshIn, FDynamicMesh3& MeshOut, bool bCopyTangents = true);
};
