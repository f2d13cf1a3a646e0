#pragma once

#include "Core/Math/Rotator.h"
#include "Core/Math/Vector.h"
#include "Core/Name/Name.h"

/**
 * A collision capsule in the body's space: a cylinder along its local Z axis capped by two
 * half spheres of the same radius, oriented by Rotation around Center.
 */
struct FKCapsuleElem
{
    FName Name;
    FVector Center;
    FRotator Rotation;
    float Radius = 1.0f;
    /** Length of the cylinder part only; the caps add Radius at each end. */
    float Length = 1.0f;

    bool operator==(const FKCapsuleElem& Other) const = default;
};
