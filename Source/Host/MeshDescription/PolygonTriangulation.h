#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Vector.h"

#include <array>
#include <span>

/**
 * Splits a simple polygon, given by its corner positions in winding order, into Num - 2 triangles of
 * corner indices with the polygon's winding. Ear clipping in the plane that best fits the corners; a
 * polygon too degenerate to clip is finished as a fan, so the count is always Num - 2.
 */
TArray<std::array<int32, 3>> TriangulatePolygon(std::span<const FVector3f> Points);
