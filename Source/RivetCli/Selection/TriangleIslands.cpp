#include "RivetCli/Selection/TriangleIslands.h"

#include "GeometryCore/DynamicMesh/DynamicMesh3.h"

#include <algorithm>

FTriangleIslands FindTriangleIslands(const FDynamicMesh3& Mesh)
{
    FTriangleIslands Result;
    Result.IslandOfTriangle.Init(INDEX_NONE, Mesh.MaxTriangleID());
    TArray<int32> Stack;
    for (const int32 Seed : Mesh.TriangleIndices())
    {
        if (Result.IslandOfTriangle[Seed] != INDEX_NONE)
        {
            continue;
        }
        const int32 Island = Result.Islands.Num();
        TArray<int32>& Members = Result.Islands.Emplace_GetRef();
        Result.IslandOfTriangle[Seed] = Island;
        Stack.Add(Seed);
        while (!Stack.IsEmpty())
        {
            const int32 Triangle = Stack.Pop();
            Members.Add(Triangle);
            const FIndex3i Neighbours = Mesh.GetTriNeighbourTris(Triangle);
            for (int32 Side = 0; Side < 3; ++Side)
            {
                const int32 Neighbour = Neighbours[Side];
                if (Neighbour >= 0 && Result.IslandOfTriangle[Neighbour] == INDEX_NONE)
                {
                    Result.IslandOfTriangle[Neighbour] = Island;
                    Stack.Add(Neighbour);
                }
            }
        }
        std::sort(Members.begin(), Members.end());
    }
    return Result;
}
