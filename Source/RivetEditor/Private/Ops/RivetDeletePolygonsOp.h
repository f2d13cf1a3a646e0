#pragma once

#include "Core/Containers/Array.h"
#include "MeshDescription/MeshElementID.h"

class USkeletalMesh;

/**
 * Deletes triangles from the mesh's LOD 0 description together with every edge, vertex instance and
 * vertex that no remaining triangle uses, compacts the description (every element is renumbered
 * densely) and commits it. Polygon groups stay, even those left without triangles: they are the
 * material slots' sections.
 *
 * TriangleIDs may name a triangle several times and may hold IDs that are not live triangles; those
 * are ignored. Returns the number of distinct live triangles deleted, or 0 when nothing was deleted:
 * without a mesh, a LOD 0 description or a live triangle to delete, and when the triangles named are
 * all the description has (a mesh must keep at least one). Opens no transaction: the caller records
 * the mesh first.
 */
int32 DeletePolygons(USkeletalMesh* Mesh, const TArray<FTriangleID>& TriangleIDs, bool bPostEditChange);
