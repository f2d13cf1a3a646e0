#include "GeometryCore/Spatial/MeshProjectionTarget.h"

#include "GeometryCore/Spatial/MeshAABBTree3.h"

FVector FMeshProjectionTarget::Project(const FVector& Point, int32 Identifier)
{
    if (!Spatial)
    {
        return Point;
    }
    if (Identifier < 0)
    {
        return Spatial->FindNearestPoint(Point);
    }
    if (Identifier >= LastTriangles.Num())
    {
        LastTriangles.SetNum(Identifier + 1, -1);
    }
    int32& LastTriangle = LastTriangles[Identifier];
    return Spatial->FindNearestPoint(Point, LastTriangle, LastTriangle);
}
