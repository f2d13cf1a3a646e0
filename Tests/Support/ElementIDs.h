#pragma once

#include "Core/Containers/Array.h"
#include "MeshDescription/MeshDescription.h"

#include <initializer_list>

/** Triangle IDs from their values, for lists written out in a test. */
inline TArray<FTriangleID> TriangleIDs(std::initializer_list<int32> Values)
{
    TArray<FTriangleID> IDs;
    for (const int32 Value : Values)
    {
        IDs.Add(FTriangleID(Value));
    }
    return IDs;
}

/** Every live triangle of the description, in ID order. */
inline TArray<FTriangleID> AllTriangles(const FMeshDescription& Mesh)
{
    TArray<FTriangleID> IDs;
    for (const FTriangleID Triangle : Mesh.Triangles().GetElementIDs())
    {
        IDs.Add(Triangle);
    }
    return IDs;
}

/** The values of element IDs, to compare with a list written out in a test. */
template <typename IDType>
TArray<int32> Values(const TArray<IDType>& IDs)
{
    TArray<int32> Result;
    Result.Reserve(IDs.Num());
    for (const IDType ID : IDs)
    {
        Result.Add(ID.GetValue());
    }
    return Result;
}
