#pragma once

#include "Core/Math/Rotator.h"
#include "Core/Math/Vector.h"
#include "Core/Name/Name.h"

/**
 * A capsule whose two caps have different radii, joined by a cone along its local Z axis.
 * Radius0 is the cap at the positive end, Radius1 the one at the negative end.
 */
struct FKTaperedCapsuleElem
{
    FName Name;
    FVector Center;
    FRotator Rotation;
    float Radius0 = 1.0f;
    float Radius1 = 1.0f;
    /** Distance between the two cap centres. */
    float Length = 1.0f;

    bool operator==(const FKTaperedCapsuleElem& Other) const = default;
};
