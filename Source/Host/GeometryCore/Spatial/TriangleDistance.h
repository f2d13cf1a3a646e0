#pragma once

#include "Core/Math/Vector.h"

/** The point of triangle ABC nearest to P, by the Voronoi regions of its corners and edges. */
inline FVector ClosestPointOnTriangle(const FVector& P, const FVector& A, const FVector& B, const FVector& C)
{
    const FVector AB = B - A;
    const FVector AC = C - A;
    const FVector AP = P - A;
    const double D1 = AB.Dot(AP);
    const double D2 = AC.Dot(AP);
    if (D1 <= 0.0 && D2 <= 0.0)
    {
        return A;
    }
    const FVector BP = P - B;
    const double D3 = AB.Dot(BP);
    const double D4 = AC.Dot(BP);
    if (D3 >= 0.0 && D4 <= D3)
    {
        return B;
    }
    const double VC = D1 * D4 - D3 * D2;
    if (VC <= 0.0 && D1 >= 0.0 && D3 <= 0.0)
    {
        return A + AB * (D1 / (D1 - D3));
    }
    const FVector CP = P - C;
    const double D5 = AB.Dot(CP);
    const double D6 = AC.Dot(CP);
    if (D6 >= 0.0 && D5 <= D6)
    {
        return C;
    }
    const double VB = D5 * D2 - D1 * D6;
    if (VB <= 0.0 && D2 >= 0.0 && D6 <= 0.0)
    {
        return A + AC * (D2 / (D2 - D6));
    }
    const double VA = D3 * D6 - D5 * D4;
    if (VA <= 0.0 && D4 - D3 >= 0.0 && D5 - D6 >= 0.0)
    {
        return B + (C - B) * ((D4 - D3) / ((D4 - D3) + (D5 - D6)));
    }
    const double Sum = VA + VB + VC;
    if (Sum <= 0.0)
    {
        return A; // degenerate: every region test above failed only through rounding
    }
    return A + AB * (VB / Sum) + AC * (VC / Sum);
}
