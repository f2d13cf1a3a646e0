#pragma once

#include "Core/CoreTypes.h"
#include "Core/Math/Vector.h"

/** A surface or curve that points can be moved onto, such as the shape a remesher must keep. */
class IProjectionTarget
{
public:
    virtual ~IProjectionTarget() = default;

    /** The point of the target nearest to Point; Identifier names the vertex being projected, or -1. */
    virtual FVector Project(const FVector& Point, int32 Identifier = -1) = 0;
};
