#pragma once

#include "Core/CoreTypes.h"
#include "Core/Math/Vector.h"
#include "Core/Math/Vector2.h"
#include "Core/Math/Vector4.h"

#include <array>

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
