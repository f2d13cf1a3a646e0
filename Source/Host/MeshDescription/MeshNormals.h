#pragma once

class FMeshDescription;

/**
 * Recomputes the normal of every vertex instance as the area-weighted average of the normals of
 * the triangles that use it, so smoothing follows the instances: a corner split into two instances
 * stays a hard edge. Each tangent is then made perpendicular to its new normal, keeping its
 * direction in the tangent plane. Instances used by no triangle, or only by degenerate ones, keep
 * their normals.
 */
void RecomputeVertexInstanceNormals(FMeshDescription& Description);
