#pragma once

#include "Core/Math/Vector.h"

#include <algorithm>

/** The thinness of triangles whose smallest angle is 15, 20, 30 and 45 degrees (see TriangleThinness). */
namespace TriangleShape
{
constexpr double Thinness15Degrees = 0.93301270189221932;
constexpr double Thinness20Degrees = 0.88302222155948895;
constexpr double Thinness30Degrees = 0.75;
constexpr double Thinness45Degrees = 0.5;
} // namespace TriangleShape

/**
 * How thin the triangle is: the squared cosine of its smallest angle, the one facing its shortest side.
 * It grows as that angle shrinks, from 1/4 for an equilateral triangle to 1 for one without area, and
 * takes no square root.
 */
inline double TriangleThinness(const FVector& A, const FVector& B, const FVector& C)
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
    // By the law of cosines, cos = (First + Second - Shortest) / (2 sqrt(First Second)), never negative here.
    const double Product = First * Second;
    const double Numerator = First + Second - Shortest;
    return Product > 0.0 ? std::min(1.0, Numerator * Numerator / (4.0 * Product)) : 1.0;
}
