#pragma once

#include "GeometryCore/DynamicMesh/DynamicMesh3.h"
#include "MeshDescription/MeshDescription.h"

/**
 * Writes a dynamic mesh into a mesh description, replacing its elements but keeping the attributes it
 * has registered (the skinned-mesh attributes are registered if missing).
 *
 * Vertices and triangles are numbered densely in the order of the dynamic mesh's IDs. Each triangle
 * corner becomes the vertex instance of its vertex with the same overlay elements, so corners that share
 * every element share an instance, and seams stay seams. Polygon groups are those the dynamic mesh
 * carries from its source (empty ones and slot names included) plus any further material ID in use.
 */
class FDynamicMeshToMeshDescription
{
public:
    void Convert(const FDynamicMesh3& MeshIn, FMeshDescription& MeshOut, bool bCopyTangents = true);
};
