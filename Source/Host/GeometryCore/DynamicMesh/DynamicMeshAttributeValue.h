#pragma once

#include "Core/CoreTypes.h"
#include "Core/Math/Vector.h"
#include "Core/Math/Vector2.h"
#include "Core/Math/Vector4.h"

#include <array>
#include <type_traits>

/** A zero value of the type an attribute with N components of RealType stores. */
template <typename RealType, int32 N>
auto MakeDynamicMeshValue()
{
    if constexpr (N == 1)
    {
        return RealType{};
    }
    else if constexpr (N == 2)
    {
        return VT::Math::TVector2<RealType>{};
    }
    else if constexpr (N == 3)
    {
        return VT::Math::TVector<RealType>{};
    }
    else if constexpr (N == 4)
    {
        return VT::Math::TVector4<RealType>{};
    }
    else
    {
        return std::array<RealType, N>{};
    }
}

/** The scalar or host vector (FVector2f, FVector3f, FVector4f, ...) of N components of RealType. */
template <typename RealType, int32 N>
using TDynamicMeshValue = decltype(MakeDynamicMeshValue<RealType, N>());

/** A + (B - A) * T in the value's own precision; exactly A at T = 0 and exactly B at T = 1. */
template <typename ValueType>
ValueType LerpDynamicMeshValue(const ValueType& A, const ValueType& B, double T)
{
    if (T == 0.0)
    {
        return A;
    }
    if (T == 1.0)
    {
        return B;
    }
    if constexpr (std::is_arithmetic_v<ValueType>)
    {
        return static_cast<ValueType>(A + (B - A) * T);
    }
    else
    {
        using ScalarType = decltype(A.X);
        return A + (B - A) * static_cast<ScalarType>(T);
    }
}
