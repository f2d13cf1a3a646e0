#pragma once

#include "Core/Containers/Array.h"
#include "MeshDescription/MeshElementID.h"

class FMeshDescription;

/**
 * The distinct live triangles of a list, in order of first appearance: repeats and IDs that do not
 * name a live triangle of the description are left out. Linear in the list and the triangle array.
 */
TArray<FTriangleID> CollectLiveTriangles(const FMeshDescription& Mesh,
                                         const TArray<FTriangleID>& TriangleIDs);
