#pragma once

#include "Core/Containers/String.h"
#include "Core/Math/MathText.h"
#include "Core/Math/MathUtility.h"
#include "Core/Math/Matrix.h"
#include "Core/Math/Quat.h"
#include "Core/Math/RotationMatrix.h"
#include "Core/Math/Rotator.h"
#include "Core/Math/Vector.h"

#include <cmath>
#include <string_view>

namespace VT::Math
{
/**
 * Scale, then rotation, then translation: TransformPosition(P) = Rotation(Scale3D * P) + Translation.
 * Default-constructed transforms are the identity.
 *
 * A * B applies A first, then B. The product keeps a per-axis scale, so it is exact when B's
 * scale is uniform (or A has no rotation); otherwise the shear a matrix product would carry is dropped.
 */
template <typename T>
class TTransform
{
public:
    static const TTransform Identity;

    constexpr TTransform() = default;
    constexpr TTransform(const TQuat<T>& InRotation, const TVector<T>& InTranslation,
                         const TVector<T>& InScale3D = TVector<T>(1, 1, 1))
        : Rotation(InRotation), Translation(InTranslation), Scale3D(InScale3D)
    {
    }
    TTransform(const TRotator<T>& InRotation, const TVector<T>& InTranslation,
               const TVector<T>& InScale3D = TVector<T>(1, 1, 1))
        : TTransform(InRotation.Quaternion(), InTranslation, InScale3D)
    {
    }
    constexpr explicit TTransform(const TVector<T>& InTranslation) : Translation(InTranslation) {}
    /**
     * The transform of a matrix without shear. A mirroring matrix (negative determinant) comes
     * back with a negative X scale.
     */
    explicit TTransform(const TMatrix<T>& Matrix)
    {
        const TVector<T> Axes[3] = {Matrix.GetRow(0), Matrix.GetRow(1), Matrix.GetRow(2)};
        Scale3D = TVector<T>(Axes[0].Size(), Axes[1].Size(), Axes[2].Size());
        if (Axes[0].Dot(Axes[1].Cross(Axes[2])) < 0)
        {
            Scale3D.X = -Scale3D.X;
        }
        Rotation = QuatFromScaledAxes(Axes, Scale3D);
        Translation = Matrix.GetOrigin();
    }
    template <typename U>
    explicit TTransform(const TTransform<U>& Other)
        : Rotation(Other.GetRotation()), Translation(Other.GetTranslation()), Scale3D(Other.GetScale3D())
    {
    }

    /** Applies this transform first, then Other. */
    TTransform operator*(const TTransform& Other) const
    {
        return TTransform(Other.Rotation * Rotation,
                          Other.Rotation.RotateVector(Other.Scale3D * Translation) + Other.Translation,
                          Scale3D * Other.Scale3D);
    }
    TTransform& operator*=(const TTransform& Other) { return *this = *this * Other; }

    /** Exact comparison; see Equals for a tolerance. */
    constexpr bool operator==(const TTransform& Other) const = default;

    TVector<T> TransformPosition(const TVector<T>& Position) const
    {
        return Rotation.RotateVector(Scale3D * Position) + Translation;
    }
    /** Scales and rotates a direction; translation does not apply. */
    TVector<T> TransformVector(const TVector<T>& Direction) const
    {
        return Rotation.RotateVector(Scale3D * Direction);
    }
    TVector<T> TransformVectorNoScale(const TVector<T>& Direction) const
    {
        return Rotation.RotateVector(Direction);
    }

    /** Undoes TransformPosition exactly, also for non-uniform scale; zero scale axes map to zero. */
    TVector<T> InverseTransformPosition(const TVector<T>& Position) const
    {
        return Rotation.UnrotateVector(Position - Translation) * GetSafeScaleReciprocal(Scale3D);
    }
    TVector<T> InverseTransformVector(const TVector<T>& Direction) const
    {
        return Rotation.UnrotateVector(Direction) * GetSafeScaleReciprocal(Scale3D);
    }
    TVector<T> InverseTransformVectorNoScale(const TVector<T>& Direction) const
    {
        return Rotation.UnrotateVector(Direction);
    }

    /**
     * The transform that undoes this one: this * Inverse() is the identity when no scale
     * component is zero. A zero scale component inverts to zero; an all-zero scale to the identity.
     */
    TTransform Inverse() const
    {
        if (Scale3D.IsNearlyZero(static_cast<T>(SmallNumber)))
        {
            return Identity;
        }
        const TQuat<T> InvRotation = Rotation.Inverse();
        const TVector<T> InvScale = GetSafeScaleReciprocal(Scale3D);
        return TTransform(InvRotation, InvRotation.RotateVector(InvScale * -Translation), InvScale);
    }

    const TQuat<T>& GetRotation() const { return Rotation; }
    void SetRotation(const TQuat<T>& InRotation) { Rotation = InRotation; }
    const TVector<T>& GetTranslation() const { return Translation; }
    void SetTranslation(const TVector<T>& InTranslation) { Translation = InTranslation; }
    const TVector<T>& GetScale3D() const { return Scale3D; }
    void SetScale3D(const TVector<T>& InScale3D) { Scale3D = InScale3D; }
    TRotator<T> Rotator() const { return Rotation.Rotator(); }

    /** Rotations compare as rotations (q equals -q); translation and scale per component. */
    bool Equals(const TTransform& Other, T Tolerance = static_cast<T>(KindaSmallNumber)) const
    {
        return Rotation.Equals(Other.Rotation, Tolerance) &&
               Translation.Equals(Other.Translation, Tolerance) && Scale3D.Equals(Other.Scale3D, Tolerance);
    }

    /** The matrix with the same effect on points; see TMatrix for the row-vector convention. */
    TMatrix<T> ToMatrixWithScale() const
    {
        return TMatrix<T>(Rotation.RotateVector(TVector<T>(Scale3D.X, 0, 0)),
                          Rotation.RotateVector(TVector<T>(0, Scale3D.Y, 0)),
                          Rotation.RotateVector(TVector<T>(0, 0, Scale3D.Z)), Translation);
    }
    TMatrix<T> ToMatrixNoScale() const { return TTransform(Rotation, Translation).ToMatrixWithScale(); }

    /** "Translation|Pitch,Yaw,Roll|Scale", each as three %f numbers separated by commas. */
    FString ToString() const
    {
        const TRotator<T> Angles = Rotator();
        // Adding zero turns -0 into 0, so that an identity rotation does not print "-0.000000".
        const auto Out = [](T Value)
        {
            return static_cast<double>(Value) + 0.0;
        };
        return FString::Printf("%f,%f,%f|%f,%f,%f|%f,%f,%f", Out(Translation.X), Out(Translation.Y),
                               Out(Translation.Z), Out(Angles.Pitch), Out(Angles.Yaw), Out(Angles.Roll),
                               Out(Scale3D.X), Out(Scale3D.Y), Out(Scale3D.Z));
    }

    /** Reads the ToString form; leaves the transform unchanged and returns false when it does not parse. */
    bool InitFromString(const FString& Text)
    {
        double Values[3][3];
        std::string_view Rest = Text.View();
        for (int32 Part = 0; Part < 3; ++Part)
        {
            const size_t Bar = Rest.find('|');
            if ((Part == 2) != (Bar == std::string_view::npos) ||
                !ParseNumberList(Rest.substr(0, Bar), ',', Values[Part]))
            {
                return false;
            }
            Rest = Part == 2 ? std::string_view() : Rest.substr(Bar + 1);
        }
        const auto ToVector = [](const double(&V)[3])
        {
            return TVector<T>(static_cast<T>(V[0]), static_cast<T>(V[1]), static_cast<T>(V[2]));
        };
        const TVector<T> Angles = ToVector(Values[1]);
        *this =
            TTransform(TRotator<T>(Angles.X, Angles.Y, Angles.Z), ToVector(Values[0]), ToVector(Values[2]));
        return true;
    }

private:
    /** 1 / Scale per component, with components at or below SmallNumber in magnitude giving zero. */
    static TVector<T> GetSafeScaleReciprocal(const TVector<T>& Scale)
    {
        const auto SafeReciprocal = [](T Value)
        {
            return std::abs(Value) <= static_cast<T>(SmallNumber) ? T(0) : T(1) / Value;
        };
        return {SafeReciprocal(Scale.X), SafeReciprocal(Scale.Y), SafeReciprocal(Scale.Z)};
    }

    TQuat<T> Rotation;
    TVector<T> Translation;
    TVector<T> Scale3D = TVector<T>(1, 1, 1);
};

template <typename T>
const TTransform<T> TTransform<T>::Identity{};
} // namespace VT::Math

using FTransform = VT::Math::TTransform<double>;
