#include "Engine/PhysicsEngine/LevelSetElem.h"

#include "Core/Misc/Check.h"

#include <cmath>

FString FKLevelSetElem::Validate() const
{
    if (!GridDims.IsValid())
    {
        return FString::Printf("grid dimensions %dx%dx%d are not all between 1 and %d", GridDims.X,
                               GridDims.Y, GridDims.Z, FGridDimensions::MaxPointsPerAxis);
    }
    if (!std::isfinite(CellSize) || CellSize <= 0.0)
    {
        return FString::Printf("cell size %g is not a positive number", CellSize);
    }
    if (int64(Distances.Num()) != GridDims.GetPointCount())
    {
        return FString::Printf("%d distances for %lld grid points", Distances.Num(),
                               static_cast<long long>(GridDims.GetPointCount()));
    }
    return FString();
}

float FKLevelSetElem::GetDistance(int32 X, int32 Y, int32 Z) const
{
    VT_CHECKF(GridDims.Contains(X, Y, Z), "point (%d, %d, %d) is outside the %dx%dx%d grid", X, Y, Z,
              GridDims.X, GridDims.Y, GridDims.Z);
    VT_CHECKF(IsValid(), "level set '%s' is not valid", *Name.ToString());
    return Distances[static_cast<int32>(GridDims.GetLinearIndex(X, Y, Z))];
}
