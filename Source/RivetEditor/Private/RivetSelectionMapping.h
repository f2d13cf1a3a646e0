#pragma once

#include "Core/Containers/Array.h"
#include "MeshDescription/MeshElementID.h"

class FDynamicMesh3;
class USkeletalMesh;

/** How near, in mesh units, a preview triangle's centroid must lie to an asset triangle's to match it. */
inline constexpr double SelectionMatchTolerance = 0.01;

/**
 * Carries triangles selected on a preview mesh over to the asset's LOD 0 triangle IDs: each selected
 * preview triangle maps to the asset triangle whose centroid is nearest to its own, within
 * SelectionMatchTolerance. Of asset triangles exactly as near as each other (coincident faces), the one
 * facing the preview triangle's way and not matched yet by an earlier selected triangle is preferred, so
 * both faces of a double-sided card map to themselves. The output keeps selection order and may name an
 * asset triangle twice when two preview triangles match it.
 *
 * OutUnmatchedCount counts the selected IDs that are not live preview triangles or found no asset
 * triangle. True only when every selected triangle matched and at least one did; without an asset,
 * a preview mesh or a LOD 0 description the output stays empty and the result is false.
 */
bool MapSelectionToAssetTriangles(const USkeletalMesh* Mesh, const FDynamicMesh3* PreviewMesh,
                                  const TArray<int32>& SelectedTriangles, TArray<FTriangleID>& OutTriangleIDs,
                                  int32& OutUnmatchedCount);
