#pragma once

#include "Core/Containers/Array.h"
#include "Core/CoreTypes.h"

class FDynamicMesh3;

/**
 * Edits of a mesh's selected triangles, as a selection tool applies them. Each takes the selected triangle
 * IDs, ignoring dead IDs and repeats, and works in time linear in the selection and the one-rings of its
 * vertices. A selection with no live triangle changes nothing.
 */

/** Removes the selected triangles and the vertices they leave without triangles; returns how many went. */
int32 DeleteSelectedTriangles(FDynamicMesh3& Mesh, const TArray<int32>& TriangleIDs);

/**
 * Splits every vertex that selected and unselected triangles share, moving the selected ones onto the
 * copy, so that the selection becomes a piece of its own with its own overlay elements. Returns the number
 * of vertices added.
 */
int32 DisconnectSelectedTriangles(FDynamicMesh3& Mesh, const TArray<int32>& TriangleIDs);

/**
 * Turns the selected triangles to face the other way and negates their normals. Normal and tangent
 * elements they share with unselected triangles are copied for them first, so the selection border becomes
 * a hard edge; tangents keep their direction and their bitangent sign is negated, so the bitangent stays
 * as it was. A selected triangle whose reverse already exists in the mesh is left as it is. Returns the
 * number of triangles turned.
 */
int32 FlipSelectedTriangleNormals(FDynamicMesh3& Mesh, const TArray<int32>& TriangleIDs);

/**
 * Gives the selected triangles a new group, one above the highest group ID the mesh has handed out,
 * enabling groups (every other triangle in group 0) when the mesh has none. Returns the new group, or -1
 * when no selected triangle is live.
 */
int32 CreatePolygroupForSelection(FDynamicMesh3& Mesh, const TArray<int32>& TriangleIDs);

/**
 * Smooths the curve of border edges, the edges between a selected and an unselected triangle. Each
 * iteration moves every vertex with exactly two border edges by Alpha (clamped to [0, 1]) of the way
 * toward the midpoint of its two border neighbours, all from the previous iteration's positions. Vertices
 * where the border branches or ends stay put. Returns the number of vertices that moved.
 */
int32 SmoothSelectionBorder(FDynamicMesh3& Mesh, const TArray<int32>& TriangleIDs, int32 Iterations = 5,
                            double Alpha = 0.5);
