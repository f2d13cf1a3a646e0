#pragma once

#include "MeshDescription/MeshDescription.h"

#include <span>

/**
 * Deletes triangles together with the edges, vertex instances and vertices they leave unused, without
 * compacting: the clean-up that a polygon delete performs.
 */
void DeleteTrianglesAndUnusedElements(FMeshDescription& Mesh, std::span<const FTriangleID> Triangles);
