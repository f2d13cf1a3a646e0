#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Core/Math/Transform.h"
#include "Core/Name/Name.h"
#include "Engine/PhysicsEngine/GridDimensions.h"

/**
 * A collision shape given as a signed-distance grid: negative inside, positive outside. Grid
 * point (I, J, K) lies at (I, J, K) * CellSize in the element's space, and Transform places the
 * element in the body's space. Distances holds one value per point, X fastest, then Y, then Z.
 */
struct FKLevelSetElem
{
    FName Name;
    FTransform Transform;
    FGridDimensions GridDims;
    double CellSize = 1.0;
    TArray<float> Distances;

    /** Why the grid cannot be used, or empty when it can. */
    FString Validate() const;
    bool IsValid() const { return Validate().IsEmpty(); }

    /** The distance stored at a grid point; the grid must be valid and hold the point. */
    float GetDistance(int32 X, int32 Y, int32 Z) const;

    bool operator==(const FKLevelSetElem& Other) const = default;
};
