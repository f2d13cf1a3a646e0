#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/String.h"
#include "Core/Math/Vector.h"

namespace VT::Math
{
/**
 * An axis-aligned box. A default-constructed box is invalid (empty); adding a point makes it the
 * box around that point, and each further point grows it.
 */
template <typename T>
struct TBox
{
    TVector<T> Min;
    TVector<T> Max;
    bool bIsValid = false;

    constexpr TBox() = default;
    constexpr TBox(const TVector<T>& InMin, const TVector<T>& InMax) : Min(InMin), Max(InMax), bIsValid(true)
    {
    }
    /** The smallest box around Points; invalid when there are none. */
    explicit TBox(const TArray<TVector<T>>& Points)
    {
        for (const TVector<T>& Point : Points)
        {
            *this += Point;
        }
    }

    TBox& operator+=(const TVector<T>& Point)
    {
        if (bIsValid)
        {
            Min = Min.ComponentMin(Point);
            Max = Max.ComponentMax(Point);
        }
        else
        {
            *this = TBox(Point, Point);
        }
        return *this;
    }
    TBox& operator+=(const TBox& Other)
    {
        if (Other.bIsValid)
        {
            *this += Other.Min;
            *this += Other.Max;
        }
        return *this;
    }
    TBox operator+(const TVector<T>& Point) const { return TBox(*this) += Point; }
    TBox operator+(const TBox& Other) const { return TBox(*this) += Other; }

    constexpr bool operator==(const TBox& Other) const = default;

    TVector<T> GetCenter() const { return (Min + Max) * T(0.5); }
    /** Half the size along each axis. */
    TVector<T> GetExtent() const { return (Max - Min) * T(0.5); }
    TVector<T> GetSize() const { return Max - Min; }

    /** True for a point inside or on the boundary of a valid box. */
    bool IsInside(const TVector<T>& Point) const
    {
        return bIsValid && Point.X >= Min.X && Point.Y >= Min.Y && Point.Z >= Min.Z && Point.X <= Max.X &&
               Point.Y <= Max.Y && Point.Z <= Max.Z;
    }

    FString ToString() const
    {
        return FString::Printf("IsValid=%s, Min=(%s), Max=(%s)", bIsValid ? "true" : "false", *Min.ToString(),
                               *Max.ToString());
    }
};
} // namespace VT::Math

using FBox = VT::Math::TBox<double>;
