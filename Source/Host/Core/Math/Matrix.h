#pragma once

#include "Core/Containers/String.h"
#include "Core/CoreTypes.h"
#include "Core/Math/MathUtility.h"
#include "Core/Math/Vector.h"
#include "Core/Math/Vector4.h"
#include "Core/Misc/Check.h"

#include <cmath>

namespace VT::Math
{
/**
 * A 4x4 matrix M[Row][Column] for row vectors: a point p maps to p * M, so the translation is in
 * the last row and A * B applies A first, then B. Default-constructed matrices are the identity.
 */
template <typename T>
struct TMatrix
{
    T M[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

    static const TMatrix Identity;

    constexpr TMatrix() = default;
    /** Rows from the images of the three axes and the origin; the last column is (0, 0, 0, 1). */
    constexpr TMatrix(const TVector<T>& AxisX, const TVector<T>& AxisY, const TVector<T>& AxisZ,
                      const TVector<T>& Origin)
        : M{{AxisX.X, AxisX.Y, AxisX.Z, 0},
            {AxisY.X, AxisY.Y, AxisY.Z, 0},
            {AxisZ.X, AxisZ.Y, AxisZ.Z, 0},
            {Origin.X, Origin.Y, Origin.Z, 1}}
    {
    }
    template <typename U>
    constexpr explicit TMatrix(const TMatrix<U>& Other)
    {
        for (int32 Row = 0; Row < 4; ++Row)
        {
            for (int32 Column = 0; Column < 4; ++Column)
            {
                M[Row][Column] = static_cast<T>(Other.M[Row][Column]);
            }
        }
    }

    constexpr TMatrix operator*(const TMatrix& Other) const
    {
        TMatrix Result;
        for (int32 Row = 0; Row < 4; ++Row)
        {
            for (int32 Column = 0; Column < 4; ++Column)
            {
                Result.M[Row][Column] = M[Row][0] * Other.M[0][Column] + M[Row][1] * Other.M[1][Column] +
                                        M[Row][2] * Other.M[2][Column] + M[Row][3] * Other.M[3][Column];
            }
        }
        return Result;
    }

    constexpr bool operator==(const TMatrix& Other) const
    {
        for (int32 Row = 0; Row < 4; ++Row)
        {
            for (int32 Column = 0; Column < 4; ++Column)
            {
                if (M[Row][Column] != Other.M[Row][Column])
                {
                    return false;
                }
            }
        }
        return true;
    }

    bool Equals(const TMatrix& Other, T Tolerance = static_cast<T>(KindaSmallNumber)) const
    {
        for (int32 Row = 0; Row < 4; ++Row)
        {
            for (int32 Column = 0; Column < 4; ++Column)
            {
                if (std::abs(M[Row][Column] - Other.M[Row][Column]) > Tolerance)
                {
                    return false;
                }
            }
        }
        return true;
    }

    /** The row vector V * M. */
    constexpr TVector4<T> TransformVector4(const TVector4<T>& V) const
    {
        return {V.X * M[0][0] + V.Y * M[1][0] + V.Z * M[2][0] + V.W * M[3][0],
                V.X * M[0][1] + V.Y * M[1][1] + V.Z * M[2][1] + V.W * M[3][1],
                V.X * M[0][2] + V.Y * M[1][2] + V.Z * M[2][2] + V.W * M[3][2],
                V.X * M[0][3] + V.Y * M[1][3] + V.Z * M[2][3] + V.W * M[3][3]};
    }
    /** Maps a point (w = 1); the result is not divided by w. */
    constexpr TVector<T> TransformPosition(const TVector<T>& Position) const
    {
        return TransformVector4(TVector4<T>(Position, 1)).XYZ();
    }
    /** Maps a direction (w = 0): translation does not apply. */
    constexpr TVector<T> TransformVector(const TVector<T>& Direction) const
    {
        return TransformVector4(TVector4<T>(Direction, 0)).XYZ();
    }

    /** The first three entries of a row: an axis image for rows 0-2, the origin for row 3. */
    TVector<T> GetRow(int32 Row) const
    {
        VT_CHECKF(Row >= 0 && Row < 4, "matrix row %d out of range", Row);
        return {M[Row][0], M[Row][1], M[Row][2]};
    }
    TVector<T> GetOrigin() const { return GetRow(3); }

    constexpr TMatrix GetTransposed() const
    {
        TMatrix Result;
        for (int32 Row = 0; Row < 4; ++Row)
        {
            for (int32 Column = 0; Column < 4; ++Column)
            {
                Result.M[Row][Column] = M[Column][Row];
            }
        }
        return Result;
    }

    constexpr T Determinant() const
    {
        const FMinors Parts(*this);
        return Parts.Determinant();
    }

    /** The general inverse; the identity for a singular matrix (determinant exactly zero). */
    constexpr TMatrix Inverse() const
    {
        const FMinors Parts(*this);
        const T Det = Parts.Determinant();
        if (Det == 0)
        {
            return Identity;
        }
        return Parts.Adjugate(*this) * (T(1) / Det);
    }

    constexpr TMatrix operator*(T Scale) const
    {
        TMatrix Result = *this;
        for (auto& Row : Result.M)
        {
            for (T& Value : Row)
            {
                Value *= Scale;
            }
        }
        return Result;
    }

    FString ToString() const
    {
        FString Result;
        for (const auto& Row : M)
        {
            Result +=
                FString::Printf("[%g %g %g %g] ", static_cast<double>(Row[0]), static_cast<double>(Row[1]),
                                static_cast<double>(Row[2]), static_cast<double>(Row[3]));
        }
        return Result.TrimStartAndEnd();
    }

private:
    /**
     * The 2x2 minors of the top two rows (S) and the bottom two rows (C). The determinant and
     * every cofactor are sums of products of one S and one C minor (Laplace expansion).
     */
    struct FMinors
    {
        T S[6];
        T C[6];

        constexpr explicit FMinors(const TMatrix& A)
            : S{A.M[0][0] * A.M[1][1] - A.M[1][0] * A.M[0][1], A.M[0][0] * A.M[1][2] - A.M[1][0] * A.M[0][2],
                A.M[0][0] * A.M[1][3] - A.M[1][0] * A.M[0][3], A.M[0][1] * A.M[1][2] - A.M[1][1] * A.M[0][2],
                A.M[0][1] * A.M[1][3] - A.M[1][1] * A.M[0][3], A.M[0][2] * A.M[1][3] - A.M[1][2] * A.M[0][3]},
              C{A.M[2][0] * A.M[3][1] - A.M[3][0] * A.M[2][1], A.M[2][0] * A.M[3][2] - A.M[3][0] * A.M[2][2],
                A.M[2][0] * A.M[3][3] - A.M[3][0] * A.M[2][3], A.M[2][1] * A.M[3][2] - A.M[3][1] * A.M[2][2],
                A.M[2][1] * A.M[3][3] - A.M[3][1] * A.M[2][3], A.M[2][2] * A.M[3][3] - A.M[3][2] * A.M[2][3]}
        {
        }

        constexpr T Determinant() const
        {
            return S[0] * C[5] - S[1] * C[4] + S[2] * C[3] + S[3] * C[2] - S[4] * C[1] + S[5] * C[0];
        }

        /** The transposed cofactor matrix of A. */
        constexpr TMatrix Adjugate(const TMatrix& A) const
        {
            const auto& Entry = A.M;
            TMatrix R;
            R.M[0][0] = Entry[1][1] * C[5] - Entry[1][2] * C[4] + Entry[1][3] * C[3];
            R.M[0][1] = -Entry[0][1] * C[5] + Entry[0][2] * C[4] - Entry[0][3] * C[3];
            R.M[0][2] = Entry[3][1] * S[5] - Entry[3][2] * S[4] + Entry[3][3] * S[3];
            R.M[0][3] = -Entry[2][1] * S[5] + Entry[2][2] * S[4] - Entry[2][3] * S[3];
            R.M[1][0] = -Entry[1][0] * C[5] + Entry[1][2] * C[2] - Entry[1][3] * C[1];
            R.M[1][1] = Entry[0][0] * C[5] - Entry[0][2] * C[2] + Entry[0][3] * C[1];
            R.M[1][2] = -Entry[3][0] * S[5] + Entry[3][2] * S[2] - Entry[3][3] * S[1];
            R.M[1][3] = Entry[2][0] * S[5] - Entry[2][2] * S[2] + Entry[2][3] * S[1];
            R.M[2][0] = Entry[1][0] * C[4] - Entry[1][1] * C[2] + Entry[1][3] * C[0];
            R.M[2][1] = -Entry[0][0] * C[4] + Entry[0][1] * C[2] - Entry[0][3] * C[0];
            R.M[2][2] = Entry[3][0] * S[4] - Entry[3][1] * S[2] + Entry[3][3] * S[0];
            R.M[2][3] = -Entry[2][0] * S[4] + Entry[2][1] * S[2] - Entry[2][3] * S[0];
            R.M[3][0] = -Entry[1][0] * C[3] + Entry[1][1] * C[1] - Entry[1][2] * C[0];
            R.M[3][1] = Entry[0][0] * C[3] - Entry[0][1] * C[1] + Entry[0][2] * C[0];
            R.M[3][2] = -Entry[3][0] * S[3] + Entry[3][1] * S[1] - Entry[3][2] * S[0];
            R.M[3][3] = Entry[2][0] * S[3] - Entry[2][1] * S[1] + Entry[2][2] * S[0];
            return R;
        }
    };
};

template <typename T>
const TMatrix<T> TMatrix<T>::Identity{};
} // namespace VT::Math

using FMatrix = VT::Math::TMatrix<double>;
using FMatrix44f = VT::Math::TMatrix<float>;
