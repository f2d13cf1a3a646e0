#pragma once

#include "Core/Math/Box.h"

/**
 * What cooking derives from one convex shape of a body, ready for collision queries: the
 * number of distinct points of the hull and their bounds in the body's space (the shape's
 * transform applied).
 */
struct FCookedConvexRecord
{
    /** The shape's index in the body's ConvexElems. */
    int32 ElementIndex = INDEX_NONE;
    int32 DistinctPointCount = 0;
    FBox BodySpaceBounds;

    bool operator==(const FCookedConvexRecord& Other) const = default;
};
