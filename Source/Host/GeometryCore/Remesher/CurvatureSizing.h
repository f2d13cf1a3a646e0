#pragma once

#include "Core/Containers/Array.h"
#include "Core/CoreTypes.h"

class FDynamicMesh3;

/**
 * The edge length near a vertex at which flat triangles stay within MaxDeviation of the curved surface
 * (Dunyach et al. 2013): an equilateral triangle of side L on a sphere of radius r sags
 * r - sqrt(r^2 - L^2/3) at its centre, so L = sqrt(6 r e - 3 e^2) for a sag e. The radius is that of the
 * vertex's largest normal curvature towards its neighbours. The result lies in [MinLength, MaxLength].
 * Scratch holds the vertex's triangles while measuring.
 */
double CurvatureAdaptedEdgeLength(const FDynamicMesh3& Mesh, int32 VertexID, double MaxDeviation, double MinLength,
                                  double MaxLength, TArray<int32>& Scratch);
