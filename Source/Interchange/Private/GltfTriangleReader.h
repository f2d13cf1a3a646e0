#pragma once

#include "Interchange/Private/GltfAccessorReader.h"

/**
 * Reads the vertex of each corner of a primitive in file order: its indices, or 0 .. Count - 1
 * without them. Throws FInterchangeFailure on an index past the primitive's Count vertices.
 */
void ReadGltfCorners(const FGltfAccessorReader& Reader, const tinygltf::Primitive& Primitive, int32 Count,
                     TArray<uint32>& OutCorners);

/**
 * Appends three file vertex indices per triangle of a primitive of Mode (list, strip or fan) to
 * OutCorners; the primitive's vertices start at file vertex Start, and bMirrored turns the winding.
 */
void AddGltfTriangles(int32 Mode, const TArray<uint32>& Corners, int32 Start, bool bMirrored,
                      TArray<int32>& OutCorners);
