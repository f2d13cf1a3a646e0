#pragma once

#include "Core/Containers/String.h"
#include "Core/Math/MathUtility.h"

#include <cmath>

namespace VT::Math
{
/** A 2D vector. Default-constructed vectors are zero. */
template <typename T>
struct TVector2
{
    T X = 0;
    T Y = 0;

    static const TVector2 ZeroVector;
    static const TVector2 UnitVector;

    constexpr TVector2() = default;
    constexpr TVector2(T InX, T InY) : X(InX), Y(InY) {}
    template <typename U>
    constexpr explicit TVector2(const TVector2<U>& Other)
        : X(static_cast<T>(Other.X)), Y(static_cast<T>(Other.Y))
    {
    }

    constexpr TVector2 operator+(const TVector2& Other) const { return {X + Other.X, Y + Other.Y}; }
    constexpr TVector2 operator-(const TVector2& Other) const { return {X - Other.X, Y - Other.Y}; }
    constexpr TVector2 operator-() const { return {-X, -Y}; }
    /** Componentwise product. */
    constexpr TVector2 operator*(const TVector2& Other) const { return {X * Other.X, Y * Other.Y}; }
    constexpr TVector2 operator*(T Scale) const { return {X * Scale, Y * Scale}; }
    constexpr TVector2 operator/(T Divisor) const { return {X / Divisor, Y / Divisor}; }
    friend constexpr TVector2 operator*(T Scale, const TVector2& Vector) { return Vector * Scale; }
    constexpr TVector2& operator+=(const TVector2& Other) { return *this = *this + Other; }
    constexpr TVector2& operator-=(const TVector2& Other) { return *this = *this - Other; }

    constexpr bool operator==(const TVector2& Other) const = default;

    constexpr T Dot(const TVector2& Other) const { return X * Other.X + Y * Other.Y; }
    /** The Z component of the 3D cross product: positive when Other lies counter-clockwise. */
    constexpr T Cross(const TVector2& Other) const { return X * Other.Y - Y * Other.X; }
    constexpr T SizeSquared() const { return Dot(*this); }
    T Size() const { return std::sqrt(SizeSquared()); }

    /** This vector scaled to unit length, or zero when its squared length is below Tolerance. */
    TVector2 GetSafeNormal(T Tolerance = static_cast<T>(SmallNumber)) const
    {
        const T SquaredLength = SizeSquared();
        return SquaredLength < Tolerance ? ZeroVector : *this * (T(1) / std::sqrt(SquaredLength));
    }
    bool IsNearlyZero(T Tolerance = static_cast<T>(KindaSmallNumber)) const
    {
        return std::abs(X) <= Tolerance && std::abs(Y) <= Tolerance;
    }
    bool Equals(const TVector2& Other, T Tolerance = static_cast<T>(KindaSmallNumber)) const
    {
        return (*this - Other).IsNearlyZero(Tolerance);
    }

    FString ToString() const
    {
        return FString::Printf("X=%3.3f Y=%3.3f", static_cast<double>(X), static_cast<double>(Y));
    }
};

template <typename T>
const TVector2<T> TVector2<T>::ZeroVector(0, 0);
template <typename T>
const TVector2<T> TVector2<T>::UnitVector(1, 1);
} // namespace VT::Math

using FVector2f = VT::Math::TVector2<float>;
using FVector2D = VT::Math::TVector2<double>;
