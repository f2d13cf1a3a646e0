#pragma once

#include <cmath>
#include <concepts>

/** Scalar constants and helpers shared by the vector, rotation and transform types. */
namespace VT::Math
{
inline constexpr double Pi = 3.14159265358979323846;
/** Below this a length, scale or squared length counts as zero. */
inline constexpr double SmallNumber = 1e-8;
/** The default tolerance of the Equals comparisons. */
inline constexpr double KindaSmallNumber = 1e-4;

template <std::floating_point T>
constexpr T DegreesToRadians(T Degrees)
{
    return Degrees * static_cast<T>(Pi / 180.0);
}

template <std::floating_point T>
constexpr T RadiansToDegrees(T Radians)
{
    return Radians * static_cast<T>(180.0 / Pi);
}

template <typename T>
constexpr T Square(T Value)
{
    return Value * Value;
}

template <typename T>
constexpr T Clamp(T Value, T Min, T Max)
{
    return Value < Min ? Min : (Max < Value ? Max : Value);
}

template <std::floating_point T>
bool IsNearlyEqual(T A, T B, T Tolerance = static_cast<T>(SmallNumber))
{
    return std::abs(A - B) <= Tolerance;
}

template <std::floating_point T>
bool IsNearlyZero(T Value, T Tolerance = static_cast<T>(SmallNumber))
{
    return std::abs(Value) <= Tolerance;
}
} // namespace VT::Math
