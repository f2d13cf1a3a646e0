#pragma once

#include "Core/Containers/String.h"
#include "Core/Math/MathText.h"
#include "Core/Math/MathUtility.h"
#include "Core/Math/Quat.h"
#include "Core/Math/Vector.h"

#include <cmath>
#include <limits>

namespace VT::Math
{
/**
 * A rotation as three angles in degrees, applied to an object as Roll first, then Pitch, then Yaw:
 * - Yaw turns about the up axis +Z; Yaw 90 turns +X to +Y.
 * - Pitch raises the nose: positive Pitch turns +X toward +Z (the quaternion axis is -Y).
 * - Roll turns about the forward axis +X; positive Roll turns +Z toward +Y, so the +Y side goes
 *   down (the quaternion axis is -X).
 * Default-constructed rotators are zero.
 */
template <typename T>
struct TRotator
{
    T Pitch = 0;
    T Yaw = 0;
    T Roll = 0;

    static const TRotator ZeroRotator;

    constexpr TRotator() = default;
    constexpr TRotator(T InPitch, T InYaw, T InRoll) : Pitch(InPitch), Yaw(InYaw), Roll(InRoll) {}
    template <typename U>
    constexpr explicit TRotator(const TRotator<U>& Other)
        : Pitch(static_cast<T>(Other.Pitch)), Yaw(static_cast<T>(Other.Yaw)), Roll(static_cast<T>(Other.Roll))
    {
    }

    constexpr TRotator operator+(const TRotator& Other) const
    {
        return {Pitch + Other.Pitch, Yaw + Other.Yaw, Roll + Other.Roll};
    }
    constexpr TRotator operator-(const TRotator& Other) const
    {
        return {Pitch - Other.Pitch, Yaw - Other.Yaw, Roll - Other.Roll};
    }
    constexpr TRotator operator*(T Scale) const { return {Pitch * Scale, Yaw * Scale, Roll * Scale}; }

    /** Exact comparison of the angles; see Equals for a tolerance. */
    constexpr bool operator==(const TRotator& Other) const = default;

    /** An angle in degrees brought into (-180, 180]. */
    static T NormalizeAxis(T Angle)
    {
        T Result = std::fmod(Angle, T(360));
        if (Result > T(180))
        {
            Result -= T(360);
        }
        else if (Result <= T(-180))
        {
            Result += T(360);
        }
        return Result;
    }

    /** Brings every angle into (-180, 180]. */
    void Normalize() { *this = GetNormalized(); }
    TRotator GetNormalized() const { return {NormalizeAxis(Pitch), NormalizeAxis(Yaw), NormalizeAxis(Roll)}; }

    /** True when each angle matches Other's within Tolerance degrees, modulo full turns. */
    bool Equals(const TRotator& Other, T Tolerance = static_cast<T>(KindaSmallNumber)) const
    {
        return (*this - Other).IsNearlyZero(Tolerance);
    }
    /** True when each angle is within Tolerance degrees of a whole number of turns. */
    bool IsNearlyZero(T Tolerance = static_cast<T>(KindaSmallNumber)) const
    {
        return std::abs(NormalizeAxis(Pitch)) <= Tolerance && std::abs(NormalizeAxis(Yaw)) <= Tolerance &&
               std::abs(NormalizeAxis(Roll)) <= Tolerance;
    }

    TQuat<T> Quaternion() const
    {
        const TRotator Angles = GetNormalized();
        const T HalfPitch = DegreesToRadians(Angles.Pitch) / 2;
        const T HalfYaw = DegreesToRadians(Angles.Yaw) / 2;
        const T HalfRoll = DegreesToRadians(Angles.Roll) / 2;
        const T SP = std::sin(HalfPitch);
        const T CP = std::cos(HalfPitch);
        const T SY = std::sin(HalfYaw);
        const T CY = std::cos(HalfYaw);
        const T SR = std::sin(HalfRoll);
        const T CR = std::cos(HalfRoll);
        // The product Yaw * Pitch * Roll of the three single-axis quaternions, expanded.
        return {CR * SP * SY - SR * CP * CY, -CR * SP * CY - SR * CP * SY, CR * CP * SY - SR * SP * CY,
                CR * CP * CY + SR * SP * SY};
    }

    TVector<T> RotateVector(const TVector<T>& Vector) const { return Quaternion().RotateVector(Vector); }
    TVector<T> UnrotateVector(const TVector<T>& Vector) const { return Quaternion().UnrotateVector(Vector); }

    /** "P=10.000000 Y=20.000000 R=30.000000"; InitFromString reads it back. */
    FString ToString() const
    {
        return FString::Printf("P=%f Y=%f R=%f", static_cast<double>(Pitch), static_cast<double>(Yaw),
                               static_cast<double>(Roll));
    }

    /** Reads the ToString form; leaves the rotator unchanged and returns false when it does not parse. */
    bool InitFromString(const FString& Text)
    {
        double Values[3];
        if (!ParseLabeledNumbers(Text.View(), {"P", "Y", "R"}, Values))
        {
            return false;
        }
        *this = TRotator(static_cast<T>(Values[0]), static_cast<T>(Values[1]), static_cast<T>(Values[2]));
        return true;
    }
};

template <typename T>
const TRotator<T> TRotator<T>::ZeroRotator(0, 0, 0);

/**
 * Pitch comes from the height of the rotated forward axis and Yaw from its heading. Roll is
 * whatever turn about X remains once Yaw and Pitch are undone, which reproduces the quaternion
 * to rounding even near Pitch +-90: a noisy heading there costs little, as the forward axis is
 * nearly vertical and Roll absorbs the difference. At the poles themselves only Yaw - Roll (or
 * Yaw + Roll) is defined, and Roll is chosen to be zero.
 */
template <typename T>
TRotator<T> TQuat<T>::Rotator() const
{
    const TQuat Q = GetNormalized();
    const T ForwardX = T(1) - T(2) * (Q.Y * Q.Y + Q.Z * Q.Z);
    const T ForwardY = T(2) * (Q.X * Q.Y + Q.W * Q.Z);
    const T ForwardZ = T(2) * (Q.X * Q.Z - Q.W * Q.Y);
    const T HorizontalLength = std::sqrt(ForwardX * ForwardX + ForwardY * ForwardY);
    const T PitchRadians = std::atan2(ForwardZ, HorizontalLength);

    // Only a pole within rounding may take the zero-roll yaw: a forward axis slightly off the
    // pole needs its own heading.
    const T PoleTolerance = T(16) * std::numeric_limits<T>::epsilon();
    T YawRadians;
    if (HorizontalLength > PoleTolerance)
    {
        YawRadians = std::atan2(ForwardY, ForwardX);
    }
    else
    {
        // With Roll zero the rotated Y axis stays level at (-sin Yaw, cos Yaw, 0).
        const T RightX = T(2) * (Q.X * Q.Y - Q.W * Q.Z);
        const T RightY = T(1) - T(2) * (Q.X * Q.X + Q.Z * Q.Z);
        YawRadians = std::atan2(-RightX, RightY);
    }

    const T SP = std::sin(PitchRadians / 2);
    const T CP = std::cos(PitchRadians / 2);
    const T SY = std::sin(YawRadians / 2);
    const T CY = std::cos(YawRadians / 2);
    const TQuat YawPitch(SP * SY, -SP * CY, CP * SY, CP * CY);
    const TQuat RollOnly = YawPitch.Inverse() * Q;
    const T RollRadians = T(2) * std::atan2(-RollOnly.X, RollOnly.W);

    return TRotator<T>(RadiansToDegrees(PitchRadians), RadiansToDegrees(YawRadians),
                       RadiansToDegrees(RollRadians))
        .GetNormalized();
}
} // namespace VT::Math

using FRotator = VT::Math::TRotator<double>;
