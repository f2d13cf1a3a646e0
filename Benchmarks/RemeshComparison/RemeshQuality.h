#pragma once

#include "GeometryCore/DynamicMesh/DynamicMesh3.h"

/** The measures the comparison prints for a remeshed region (or the region before remeshing). */
struct FRemeshQuality
{
    int32 Triangles = 0;
    /** The smallest angle of any triangle, in degrees. */
    double MinAngle = 0.0;
    /** The share of triangles whose smallest angle is below 30 degrees. */
    double ShareBelow30 = 0.0;
    /** Standard deviation over mean of the edge lengths, each edge once. */
    double EdgeLengthCV = 0.0;
    /** The share of interior vertices (none of the region's border) with six edges. */
    double Valence6Share = 0.0;
    /**
     * The two-sided Hausdorff distance from the original region, sampled at vertices, edge midpoints and
     * centroids, as a share of the original region's bounding-box diagonal.
     */
    double Hausdorff = 0.0;
};

/** Measures Region (a mesh of the region's triangles only) against the original region, Original. */
FRemeshQuality MeasureRemeshQuality(const FDynamicMesh3& Region, const FDynamicMesh3& Original);
