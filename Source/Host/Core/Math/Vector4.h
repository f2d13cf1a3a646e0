#pragma once

#include "Core/Containers/String.h"
#include "Core/Math/MathUtility.h"
#include "Core/Math/Vector.h"

#include <cmath>

namespace VT::Math
{
/** A four-component vector, such as a homogeneous point or a colour. Default-constructed ones are zero. */
template <typename T>
struct TVector4
{
    T X = 0;
    T Y = 0;
    T Z = 0;
    T W = 0;

    constexpr TVector4() = default;
    constexpr TVector4(T InX, T InY, T InZ, T InW) : X(InX), Y(InY), Z(InZ), W(InW) {}
    constexpr TVector4(const TVector<T>& Vector, T InW) : X(Vector.X), Y(Vector.Y), Z(Vector.Z), W(InW) {}
    template <typename U>
    constexpr explicit TVector4(const TVector4<U>& Other)
        : X(static_cast<T>(Other.X)), Y(static_cast<T>(Other.Y)), Z(static_cast<T>(Other.Z)),
          W(static_cast<T>(Other.W))
    {
    }

    constexpr TVector4 operator+(const TVector4& Other) const
    {
        return {X + Other.X, Y + Other.Y, Z + Other.Z, W + Other.W};
    }
    constexpr TVector4 operator-(const TVector4& Other) const
    {
        return {X - Other.X, Y - Other.Y, Z - Other.Z, W - Other.W};
    }
    constexpr TVector4 operator-() const { return {-X, -Y, -Z, -W}; }
    /** Componentwise product. */
    constexpr TVector4 operator*(const TVector4& Other) const
    {
        return {X * Other.X, Y * Other.Y, Z * Other.Z, W * Other.W};
    }
    constexpr TVector4 operator*(T Scale) const { return {X * Scale, Y * Scale, Z * Scale, W * Scale}; }
    constexpr TVector4 operator/(T Divisor) const
    {
        return {X / Divisor, Y / Divisor, Z / Divisor, W / Divisor};
    }

    constexpr bool operator==(const TVector4& Other) const = default;

    /** The dot product over all four components. */
    constexpr T Dot4(const TVector4& Other) const
    {
        return X * Other.X + Y * Other.Y + Z * Other.Z + W * Other.W;
    }
    constexpr TVector<T> XYZ() const { return {X, Y, Z}; }

    bool Equals(const TVector4& Other, T Tolerance = static_cast<T>(KindaSmallNumber)) const
    {
        return std::abs(X - Other.X) <= Tolerance && std::abs(Y - Other.Y) <= Tolerance &&
               std::abs(Z - Other.Z) <= Tolerance && std::abs(W - Other.W) <= Tolerance;
    }

    FString ToString() const
    {
        return FString::Printf("X=%3.3f Y=%3.3f Z=%3.3f W=%3.3f", static_cast<double>(X),
                               static_cast<double>(Y), static_cast<double>(Z), static_cast<double>(W));
    }
};
} // namespace VT::Math

using FVector4f = VT::Math::TVector4<float>;
