#pragma once

#include "Core/Math/Rotator.h"
#include "Core/Math/Vector.h"
#include "Core/Name/Name.h"

/** A collision box in the body's space, oriented by Rotation around Center. */
struct FKBoxElem
{
    FName Name;
    FVector Center;
    FRotator Rotation;
    /** Full extents along the box's own axes (not half sizes). */
    float X = 1.0f;
    float Y = 1.0f;
    float Z = 1.0f;

    bool operator==(const FKBoxElem& Other) const = default;
};
