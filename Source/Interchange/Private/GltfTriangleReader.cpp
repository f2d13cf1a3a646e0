#include "Interchange/Private/GltfTriangleReader.h"

#include "Interchange/Private/InterchangeFailure.h"

void ReadGltfCorners(const FGltfAccessorReader& Reader, const tinygltf::Primitive& Primitive, int32 Count,
                     TArray<uint32>& OutCorners)
{
    if (Primitive.indices >= 0)
    {
        Reader.ReadIndices(Primitive.indices, 1, "the triangle indices", OutCorners);
    }
    else
    {
        OutCorners.SetNum(Count);
        for (int32 Index = 0; Index < Count; ++Index)
        {
            OutCorners[Index] = static_cast<uint32>(Index);
        }
    }
    for (const uint32 Corner : OutCorners)
    {
        if (Corner >= static_cast<uint32>(Count))
        {
            FailImport("triangle index %u is out of range (the primitive has %d vertices)", Corner, Count);
        }
    }
}

void AddGltfTriangles(int32 Mode, const TArray<uint32>& Corners, int32 Start, bool bMirrored,
                      TArray<int32>& OutCorners)
{
    const auto AddTriangle = [&](uint32 A, uint32 B, uint32 C)
    {
        OutCorners.Add(Start + static_cast<int32>(A));
        OutCorners.Add(Start + static_cast<int32>(bMirrored ? C : B));
        OutCorners.Add(Start + static_cast<int32>(bMirrored ? B : C));
    };
    const int32 Num = Corners.Num();
    if (Mode == TINYGLTF_MODE_TRIANGLES)
    {
        for (int32 First = 0; First + 2 < Num; First += 3)
        {
            AddTriangle(Corners[First], Corners[First + 1], Corners[First + 2]);
        }
    }
    else if (Mode == TINYGLTF_MODE_TRIANGLE_STRIP)
    {
        for (int32 First = 0; First + 2 < Num; ++First)
        {
            const bool bOdd = (First & 1) != 0;
            AddTriangle(Corners[First], Corners[First + (bOdd ? 2 : 1)], Corners[First + (bOdd ? 1 : 2)]);
        }
    }
    else
    {
        for (int32 First = 1; First + 1 < Num; ++First)
        {
            AddTriangle(Corners[0], Corners[First], Corners[First + 1]);
        }
    }
}
