#pragma once

#include "Core/Containers/String.h"
#include "Core/Math/MathText.h"
#include "Core/Math/MathUtility.h"

#include <algorithm>
#include <cmath>

namespace VT::Math
{
/** A 3D vector. Default-constructed vectors are zero. */
template <typename T>
struct TVector
{
    T X = 0;
    T Y = 0;
    T Z = 0;

    static const TVector ZeroVector;
    static const TVector OneVector;
    static const TVector ForwardVector;
    static const TVector RightVector;
    static const TVector UpVector;

    constexpr TVector() = default;
    constexpr TVector(T InX, T InY, T InZ) : X(InX), Y(InY), Z(InZ) {}
    constexpr explicit TVector(T Value) : X(Value), Y(Value), Z(Value) {}
    template <typename U>
    constexpr explicit TVector(const TVector<U>& Other)
        : X(static_cast<T>(Other.X)), Y(static_cast<T>(Other.Y)), Z(static_cast<T>(Other.Z))
    {
    }

    constexpr TVector operator+(const TVector& Other) const
    {
        return {X + Other.X, Y + Other.Y, Z + Other.Z};
    }
    constexpr TVector operator-(const TVector& Other) const
    {
        return {X - Other.X, Y - Other.Y, Z - Other.Z};
    }
    constexpr TVector operator-() const { return {-X, -Y, -Z}; }
    /** Componentwise product. */
    constexpr TVector operator*(const TVector& Other) const
    {
        return {X * Other.X, Y * Other.Y, Z * Other.Z};
    }
    constexpr TVector operator*(T Scale) const { return {X * Scale, Y * Scale, Z * Scale}; }
    constexpr TVector operator/(T Divisor) const { return {X / Divisor, Y / Divisor, Z / Divisor}; }
    friend constexpr TVector operator*(T Scale, const TVector& Vector) { return Vector * Scale; }

    constexpr TVector& operator+=(const TVector& Other) { return *this = *this + Other; }
    constexpr TVector& operator-=(const TVector& Other) { return *this = *this - Other; }
    constexpr TVector& operator*=(const TVector& Other) { return *this = *this * Other; }
    constexpr TVector& operator*=(T Scale) { return *this = *this * Scale; }
    constexpr TVector& operator/=(T Divisor) { return *this = *this / Divisor; }

    /** Exact comparison; see Equals for a tolerance. */
    constexpr bool operator==(const TVector& Other) const = default;

    constexpr T Dot(const TVector& Other) const { return X * Other.X + Y * Other.Y + Z * Other.Z; }
    constexpr TVector Cross(const TVector& Other) const
    {
        return {Y * Other.Z - Z * Other.Y, Z * Other.X - X * Other.Z, X * Other.Y - Y * Other.X};
    }

    constexpr T SizeSquared() const { return Dot(*this); }
    T Size() const { return std::sqrt(SizeSquared()); }
    static T Distance(const TVector& A, const TVector& B) { return (B - A).Size(); }

    /** This vector scaled to unit length, or zero when its squared length is below Tolerance. */
    TVector GetSafeNormal(T Tolerance = static_cast<T>(SmallNumber)) const
    {
        const T SquaredLength = SizeSquared();
        if (SquaredLength < Tolerance)
        {
            return ZeroVector;
        }
        return *this * (T(1) / std::sqrt(SquaredLength));
    }

    /** True when no component is further than Tolerance from zero. */
    bool IsNearlyZero(T Tolerance = static_cast<T>(KindaSmallNumber)) const
    {
        return std::abs(X) <= Tolerance && std::abs(Y) <= Tolerance && std::abs(Z) <= Tolerance;
    }

    /** True when no component differs from Other's by more than Tolerance. */
    bool Equals(const TVector& Other, T Tolerance = static_cast<T>(KindaSmallNumber)) const
    {
        return (*this - Other).IsNearlyZero(Tolerance);
    }

    constexpr TVector ComponentMin(const TVector& Other) const
    {
        return {std::min(X, Other.X), std::min(Y, Other.Y), std::min(Z, Other.Z)};
    }
    constexpr TVector ComponentMax(const TVector& Other) const
    {
        return {std::max(X, Other.X), std::max(Y, Other.Y), std::max(Z, Other.Z)};
    }
    TVector GetAbs() const { return {std::abs(X), std::abs(Y), std::abs(Z)}; }

    /** "X=1.000 Y=2.000 Z=3.000"; InitFromString reads it back. */
    FString ToString() const
    {
        return FString::Printf("X=%3.3f Y=%3.3f Z=%3.3f", static_cast<double>(X), static_cast<double>(Y),
                               static_cast<double>(Z));
    }

    /** Reads the ToString form; leaves the vector unchanged and returns false when it does not parse. */
    bool InitFromString(const FString& Text)
    {
        double Values[3];
        if (!ParseLabeledNumbers(Text.View(), {"X", "Y", "Z"}, Values))
        {
            return false;
        }
        *this = TVector(static_cast<T>(Values[0]), static_cast<T>(Values[1]), static_cast<T>(Values[2]));
        return true;
    }
};

template <typename T>
const TVector<T> TVector<T>::ZeroVector(0, 0, 0);
template <typename T>
const TVector<T> TVector<T>::OneVector(1, 1, 1);
template <typename T>
const TVector<T> TVector<T>::ForwardVector(1, 0, 0);
template <typename T>
const TVector<T> TVector<T>::RightVector(0, 1, 0);
template <typename T>
const TVector<T> TVector<T>::UpVector(0, 0, 1);
} // namespace VT::Math

using FVector = VT::Math::TVector<double>;
using FVector3f = VT::Math::TVector<float>;
