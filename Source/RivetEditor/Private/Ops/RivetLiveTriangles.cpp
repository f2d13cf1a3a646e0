#include "RivetEditor/Private/Ops/RivetLiveTriangles.h"

#include "MeshDescription/MeshDescription.h"

#include <algorithm>

TArray<FTriangleID> CollectLiveTriangles(const FMeshDescription& Mesh, const TArray<FTriangleID>& TriangleIDs)
{
    TArray<uint8> bTaken;
    bTaken.Init(0, Mesh.Triangles().GetArraySize());
    TArray<FTriangleID> Triangles;
    Triangles.Reserve(std::min(TriangleIDs.Num(), Mesh.Triangles().Num()));
    for (const FTriangleID Triangle : TriangleIDs)
    {
        if (Mesh.Triangles().IsValid(Triangle) && !bTaken[Triangle.GetValue()])
        {
            bTaken[Triangle.GetValue()] = 1;
            Triangles.Add(Triangle);
        }
    }
    return Triangles;
}
