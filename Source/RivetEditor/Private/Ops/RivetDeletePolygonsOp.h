#pragma once

#include "Core/Containers/Array.h"
#include "MeshDescription/MeshElementID.h"

class FMeshDescription;
class USkeletalMesh;

/** What deleting triangles took out of a description. */
struct FRivetTriangleDeletion
{
    int32 Triangles = 0;
    /** Vertices that no remaining triangle used, deleted with them. */
    int32 Vertices = 0;
    /** Vertex instances that no remaining triangle used, deleted with them. */
    int32 VertexInstances = 0;
};

/**
 * The deletion kernel: deletes the triangles from the description together with every edge, vertex
 * instance and vertex they leave without a user (FMeshDescription::DeleteTrianglesAndOrphans), then
 * compacts the description (every element set renumbered densely, in former order). Polygon groups stay,
 * even those left without triangles.
 * Repeats and IDs that are not live triangles are skipped; nothing stops the description from being
 * emptied. Linear in the description's size.
 */
FRivetTriangleDeletion DeleteTrianglesAndCompact(FMeshDescription& Mesh,
                                                 const TArray<FTriangleID>& TriangleIDs);

/**
 * Deletes triangles from the mesh's LOD 0 description with DeleteTrianglesAndCompact and commits it.
 * Polygon groups stay, even those left without triangles: they are the material slots' sections.
 *
 * TriangleIDs may name a triangle several times and may hold IDs that are not live triangles; those
 * are ignored. Returns the number of distinct live triangles deleted, or 0 when nothing was deleted:
 * without a mesh, a LOD 0 description or a live triangle to delete, and when the triangles named are
 * all the description has (a mesh must keep at least one). Opens no transaction: the caller records
 * the mesh first.
 */
int32 DeletePolygons(USkeletalMesh* Mesh, const TArray<FTriangleID>& TriangleIDs, bool bPostEditChange);
