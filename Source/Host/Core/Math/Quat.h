#pragma once

#include "Core/Containers/String.h"
#include "Core/Math/MathUtility.h"
#include "Core/Math/Vector.h"

#include <cmath>

namespace VT::Math
{
template <typename T>
struct TRotator;

/**
 * A rotation as a quaternion (X, Y, Z) = axis * sin(angle / 2), W = cos(angle / 2). Rotations
 * follow the right-hand rule about their axis. Default-constructed quaternions are the identity.
 * Most operations expect unit quaternions.
 */
template <typename T>
struct TQuat
{
    T X = 0;
    T Y = 0;
    T Z = 0;
    T W = 1;

    static const TQuat Identity;

    constexpr TQuat() = default;
    constexpr TQuat(T InX, T InY, T InZ, T InW) : X(InX), Y(InY), Z(InZ), W(InW) {}
    /** The rotation by AngleRadians about Axis, which must have unit length. */
    TQuat(const TVector<T>& Axis, T AngleRadians)
    {
        const T HalfAngle = AngleRadians / 2;
        const T Sin = std::sin(HalfAngle);
        *this = TQuat(Axis.X * Sin, Axis.Y * Sin, Axis.Z * Sin, std::cos(HalfAngle));
    }
    template <typename U>
    constexpr explicit TQuat(const TQuat<U>& Other)
        : X(static_cast<T>(Other.X)), Y(static_cast<T>(Other.Y)), Z(static_cast<T>(Other.Z)),
          W(static_cast<T>(Other.W))
    {
    }

    /** The composition that applies Other first, then this rotation (the Hamilton product). */
    constexpr TQuat operator*(const TQuat& Other) const
    {
        return {W * Other.X + X * Other.W + Y * Other.Z - Z * Other.Y,
                W * Other.Y + Y * Other.W + Z * Other.X - X * Other.Z,
                W * Other.Z + Z * Other.W + X * Other.Y - Y * Other.X,
                W * Other.W - X * Other.X - Y * Other.Y - Z * Other.Z};
    }
    TQuat& operator*=(const TQuat& Other) { return *this = *this * Other; }
    constexpr TQuat operator+(const TQuat& Other) const
    {
        return {X + Other.X, Y + Other.Y, Z + Other.Z, W + Other.W};
    }
    constexpr TQuat operator*(T Scale) const { return {X * Scale, Y * Scale, Z * Scale, W * Scale}; }
    constexpr TQuat operator-() const { return {-X, -Y, -Z, -W}; }
    /** Same as RotateVector. */
    TVector<T> operator*(const TVector<T>& Vector) const { return RotateVector(Vector); }
    /** The 4D dot product. */
    constexpr T operator|(const TQuat& Other) const
    {
        return X * Other.X + Y * Other.Y + Z * Other.Z + W * Other.W;
    }

    /** Exact comparison; see Equals for a tolerance and for q == -q. */
    constexpr bool operator==(const TQuat& Other) const = default;

    TVector<T> RotateVector(const TVector<T>& Vector) const
    {
        // v' = v + 2w (q x v) + 2 q x (q x v), with q the vector part.
        const TVector<T> Axis(X, Y, Z);
        const TVector<T> Twice = Axis.Cross(Vector) * T(2);
        return Vector + Twice * W + Axis.Cross(Twice);
    }
    TVector<T> UnrotateVector(const TVector<T>& Vector) const { return Inverse().RotateVector(Vector); }

    /** The conjugate: the inverse rotation for a unit quaternion. */
    constexpr TQuat Inverse() const { return {-X, -Y, -Z, W}; }

    constexpr T SizeSquared() const { return *this | *this; }
    T Size() const { return std::sqrt(SizeSquared()); }
    bool IsNormalized() const { return std::abs(T(1) - SizeSquared()) < static_cast<T>(KindaSmallNumber); }

    /** Scales to unit length; becomes the identity when the squared length is below Tolerance. */
    void Normalize(T Tolerance = static_cast<T>(SmallNumber))
    {
        const T SquaredLength = SizeSquared();
        *this = SquaredLength < Tolerance ? Identity : *this * (T(1) / std::sqrt(SquaredLength));
    }
    TQuat GetNormalized(T Tolerance = static_cast<T>(SmallNumber)) const
    {
        TQuat Result = *this;
        Result.Normalize(Tolerance);
        return Result;
    }

    /** True when both represent the same rotation within Tolerance per component; q and -q are equal. */
    bool Equals(const TQuat& Other, T Tolerance = static_cast<T>(KindaSmallNumber)) const
    {
        return IsWithin(*this, Other, Tolerance) || IsWithin(*this, -Other, Tolerance);
    }

    /** The angle of rotation in radians, in [0, 2 pi]. */
    T GetAngle() const { return T(2) * std::atan2(std::sqrt(X * X + Y * Y + Z * Z), W); }
    /** The unit rotation axis; the forward axis when the rotation is (nearly) none. */
    TVector<T> GetRotationAxis() const
    {
        const T SinHalfSquared = X * X + Y * Y + Z * Z;
        if (SinHalfSquared < static_cast<T>(SmallNumber))
        {
            return TVector<T>::ForwardVector;
        }
        return TVector<T>(X, Y, Z) / std::sqrt(SinHalfSquared);
    }
    void ToAxisAndAngle(TVector<T>& OutAxis, T& OutAngleRadians) const
    {
        OutAxis = GetRotationAxis();
        OutAngleRadians = GetAngle();
    }

    /** Spherical interpolation along the shorter arc; the result is normalized. */
    static TQuat Slerp(const TQuat& From, const TQuat& To, T Alpha)
    {
        const T RawCos = From | To;
        const T Cos = std::abs(RawCos);
        T FromWeight = T(1) - Alpha;
        T ToWeight = Alpha;
        // Nearly parallel quaternions make sin(Omega) vanish: a normalized lerp is exact enough there.
        if (Cos < T(0.9999))
        {
            const T Omega = std::acos(Cos);
            const T InvSin = T(1) / std::sin(Omega);
            FromWeight = std::sin((T(1) - Alpha) * Omega) * InvSin;
            ToWeight = std::sin(Alpha * Omega) * InvSin;
        }
        if (RawCos < 0)
        {
            ToWeight = -ToWeight;
        }
        return (From * FromWeight + To * ToWeight).GetNormalized();
    }

    /** The same rotation as pitch, yaw and roll in degrees (defined in Rotator.h). */
    TRotator<T> Rotator() const;

    FString ToString() const
    {
        return FString::Printf("X=%.9f Y=%.9f Z=%.9f W=%.9f", static_cast<double>(X), static_cast<double>(Y),
                               static_cast<double>(Z), static_cast<double>(W));
    }

private:
    static bool IsWithin(const TQuat& A, const TQuat& B, T Tolerance)
    {
        return std::abs(A.X - B.X) <= Tolerance && std::abs(A.Y - B.Y) <= Tolerance &&
               std::abs(A.Z - B.Z) <= Tolerance && std::abs(A.W - B.W) <= Tolerance;
    }
};

template <typename T>
const TQuat<T> TQuat<T>::Identity(0, 0, 0, 1);
} // namespace VT::Math

using FQuat = VT::Math::TQuat<double>;
using FQuat4f = VT::Math::TQuat<float>;

// TQuat::Rotator() needs the complete rotator; either header brings in both.
#include "Core/Math/Rotator.h"
