#pragma once

#include "Core/Math/Vector.h"

#include <algorithm>
#include <cmath>

/** Cosines of the angles the remesher judges triangle shapes by. */
namespace TriangleShape
{
constexpr double Cos15Degrees = 0.96592582628906829;
constexpr double Cos20Degrees = 0.93969262078590838;
constexpr double Cos30Degrees = 0.86602540378443865;
} // namespace TriangleShape

/**
 * The cosine of the triangle's smallest angle, the one facing its shortest side: the larger, the thinner
 * the triangle, and 1 when it has no area. Costs one square root.
 */
inline double SmallestAngleCosine(const FVector& A, const FVector& B, const FVector& C)
{
    const double AB = (B - A).SizeSquared();
    const double BC = (C - B).SizeSquared();
    const double CA = (A - C).SizeSquared();
    double Shortest = AB;
    double First = BC;
    double Second = CA;
    if (BC < Shortest)
    {
        Shortest = BC;
        First = CA;
        Second = AB;
    }
    if (CA < Shortest)
    {
        Shortest = CA;
        First = AB;
        Second = BC;
    }
    const double Product = First * Second;
    return Product > 0.0 ? std::min(1.0, (First + Second - Shortest) / (2.0 * std::sqrt(Product))) : 1.0;
}
