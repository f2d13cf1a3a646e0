#pragma once

#include "Core/Containers/Array.h"

class FDynamicMesh3;

/**
 * Selection changes of the mesh selection tool, over triangle IDs of a dynamic mesh. Each takes
 * the selected IDs (dead IDs and repeats ignored) and returns the new selection, kept triangles
 * first in their order, then added ones in ascending ID order. All are linear in the mesh size.
 */
namespace TriangleSelectionOps
{
/** Every live triangle. */
TArray<int32> SelectAll(const FDynamicMesh3& Mesh);
/** The live triangles that are not selected. */
TArray<int32> Invert(const FDynamicMesh3& Mesh, const TArray<int32>& Selected);
/** Adds every triangle that shares a vertex with the selection. */
TArray<int32> Grow(const FDynamicMesh3& Mesh, const TArray<int32>& Selected);
/** Drops every selected triangle that has a vertex shared with an unselected triangle. */
TArray<int32> Shrink(const FDynamicMesh3& Mesh, const TArray<int32>& Selected);
/** Adds every triangle connected to the selection through shared edges. */
TArray<int32> ExpandToConnected(const FDynamicMesh3& Mesh, const TArray<int32>& Selected);
} // namespace TriangleSelectionOps
