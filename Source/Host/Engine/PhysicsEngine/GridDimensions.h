#pragma once

#include "Core/CoreTypes.h"

/** The number of sample points along each axis of a regular 3D grid. */
struct FGridDimensions
{
    int32 X = 0;
    int32 Y = 0;
    int32 Z = 0;

    /** Points along one axis at most, so that a grid's point count always fits in 64 bits. */
    static constexpr int32 MaxPointsPerAxis = 1 << 16;

    bool IsValid() const
    {
        return X > 0 && Y > 0 && Z > 0 && X <= MaxPointsPerAxis && Y <= MaxPointsPerAxis &&
               Z <= MaxPointsPerAxis;
    }
    /** The number of points of a valid grid; 0 for an invalid one. */
    int64 GetPointCount() const { return IsValid() ? int64(X) * int64(Y) * int64(Z) : 0; }
    bool Contains(int32 InX, int32 InY, int32 InZ) const
    {
        return InX >= 0 && InY >= 0 && InZ >= 0 && InX < X && InY < Y && InZ < Z;
    }
    /** The index of a point in X-fastest order, then Y, then Z. */
    int64 GetLinearIndex(int32 InX, int32 InY, int32 InZ) const
    {
        return InX + int64(X) * (InY + int64(Y) * InZ);
    }

    bool operator==(const FGridDimensions& Other) const = default;
};
