#pragma once

#include "Core/Containers/Array.h"
#include "GeometryCore/Spatial/ProjectionTarget.h"

class FDynamicMesh3;
class FDynamicMeshAABBTree3;

/**
 * Projects points onto a mesh: the nearest point of its surface, found with its AABB tree. The triangle
 * found for each identifier starts that identifier's next search, which is usually near the last one.
 */
class FMeshProjectionTarget : public IProjectionTarget
{
public:
    FMeshProjectionTarget() = default;
    FMeshProjectionTarget(const FDynamicMesh3* InMesh, const FDynamicMeshAABBTree3* InSpatial)
        : Mesh(InMesh), Spatial(InSpatial)
    {
    }

    /** The nearest point of the mesh; Point itself when there is no tree or the mesh has no triangles. */
    FVector Project(const FVector& Point, int32 Identifier = -1) override;

    const FDynamicMesh3* Mesh = nullptr;
    const FDynamicMeshAABBTree3* Spatial = nullptr;

private:
    TArray<int32> LastTriangles;
};
