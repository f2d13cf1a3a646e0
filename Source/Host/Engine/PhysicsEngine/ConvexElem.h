#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Box.h"
#include "Core/Math/Transform.h"
#include "Core/Name/Name.h"

/**
 * A convex collision hull given by its points, in the element's space; Transform places the
 * element in the body's space. ElemBox caches the bounds of the points and is refreshed by
 * UpdateElemBox after the points change.
 */
struct FKConvexElem
{
    FName Name;
    TArray<FVector> VertexData;
    FBox ElemBox;
    FTransform Transform;

    /** Recomputes ElemBox around VertexData; an invalid box when there are no points. */
    void UpdateElemBox() { ElemBox = FBox(VertexData); }

    bool operator==(const FKConvexElem& Other) const = default;
};
