#pragma once

#include "Core/Math/Vector.h"
#include "Core/Name/Name.h"

/** A collision sphere in the body's space. */
struct FKSphereElem
{
    FName Name;
    FVector Center;
    float Radius = 1.0f;

    bool operator==(const FKSphereElem& Other) const = default;
};
