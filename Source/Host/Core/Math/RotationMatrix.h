#pragma once

#include "Core/CoreTypes.h"
#include "Core/Math/MathUtility.h"
#include "Core/Math/Quat.h"
#include "Core/Math/Vector.h"

#include <cmath>

namespace VT::Math
{
/**
 * The quaternion of a rotation given by the images of the three axes, which must be orthonormal
 * and right-handed (AxisX x AxisY = AxisZ). Picks the largest of W, X, Y, Z to divide by, which
 * keeps the result accurate for every angle.
 */
template <typename T>
TQuat<T> QuatFromRotatedAxes(const TVector<T>& AxisX, const TVector<T>& AxisY, const TVector<T>& AxisZ)
{
    // Rij is row i, column j of the rotation matrix whose columns are the axis images.
    const T R00 = AxisX.X, R10 = AxisX.Y, R20 = AxisX.Z;
    const T R01 = AxisY.X, R11 = AxisY.Y, R21 = AxisY.Z;
    const T R02 = AxisZ.X, R12 = AxisZ.Y, R22 = AxisZ.Z;
    const T Trace = R00 + R11 + R22;
    TQuat<T> Result;
    if (Trace > 0)
    {
        const T S = std::sqrt(Trace + T(1)) * T(2);
        Result = TQuat<T>((R21 - R12) / S, (R02 - R20) / S, (R10 - R01) / S, S / T(4));
    }
    else if (R00 >= R11 && R00 >= R22)
    {
        const T S = std::sqrt(T(1) + R00 - R11 - R22) * T(2);
        Result = TQuat<T>(S / T(4), (R01 + R10) / S, (R02 + R20) / S, (R21 - R12) / S);
    }
    else if (R11 >= R22)
    {
        const T S = std::sqrt(T(1) + R11 - R00 - R22) * T(2);
        Result = TQuat<T>((R01 + R10) / S, S / T(4), (R12 + R21) / S, (R02 - R20) / S);
    }
    else
    {
        const T S = std::sqrt(T(1) + R22 - R00 - R11) * T(2);
        Result = TQuat<T>((R02 + R20) / S, (R12 + R21) / S, S / T(4), (R10 - R01) / S);
    }
    return Result.GetNormalized();
}
} // namespace VT::Math

namespace VT::Math
{
/**
 * The rotation of a matrix without shear whose axis rows are ScaledAxes, given the signed length
 * Scale of each. Axes with a scale at or below SmallNumber carry no direction: one such axis is
 * rebuilt from the other two, two are completed to some right-handed frame around the third,
 * and with all three zero the rotation is the identity.
 */
template <typename T>
TQuat<T> QuatFromScaledAxes(const TVector<T> (&ScaledAxes)[3], const TVector<T>& Scale)
{
    const T Scales[3] = {Scale.X, Scale.Y, Scale.Z};
    TVector<T> Axes[3];
    int32 ZeroCount = 0;
    int32 LastZero = 0;
    int32 LastNonZero = 0;
    for (int32 Index = 0; Index < 3; ++Index)
    {
        const bool bZero = std::abs(Scales[Index]) <= static_cast<T>(SmallNumber);
        Axes[Index] = bZero ? TVector<T>::ZeroVector : ScaledAxes[Index] / Scales[Index];
        ZeroCount += bZero ? 1 : 0;
        (bZero ? LastZero : LastNonZero) = Index;
    }
    if (ZeroCount == 3)
    {
        return TQuat<T>::Identity;
    }
    // In a right-handed frame each axis is the cross product of the next two, cyclically.
    if (ZeroCount == 2)
    {
        const TVector<T>& Known = Axes[LastNonZero];
        const TVector<T>& Helper =
            std::abs(Known.Z) < T(0.9) ? TVector<T>::UpVector : TVector<T>::ForwardVector;
        Axes[(LastNonZero + 1) % 3] = Known.Cross(Helper).GetSafeNormal();
        Axes[(LastNonZero + 2) % 3] = Known.Cross(Axes[(LastNonZero + 1) % 3]);
    }
    else if (ZeroCount == 1)
    {
        Axes[LastZero] = Axes[(LastZero + 1) % 3].Cross(Axes[(LastZero + 2) % 3]);
    }
    return QuatFromRotatedAxes(Axes[0], Axes[1], Axes[2]);
}
} // namespace VT::Math
