#include "Core/Math/BoxSphereBounds.h"

#include <algorithm>

namespace VT::Math
{
FBoxSphereBounds::FBoxSphereBounds(const FBox& Box)
{
    if (Box.bIsValid)
    {
        Origin = Box.GetCenter();
        BoxExtent = Box.GetExtent();
        SphereRadius = BoxExtent.Size();
    }
}

FBoxSphereBounds FBoxSphereBounds::operator+(const FBoxSphereBounds& Other) const
{
    FBoxSphereBounds Result(GetBox() + Other.GetBox());
    const double ThisReach = FVector::Distance(Result.Origin, Origin) + SphereRadius;
    const double OtherReach = FVector::Distance(Result.Origin, Other.Origin) + Other.SphereRadius;
    Result.SphereRadius = std::min(Result.SphereRadius, std::max(ThisReach, OtherReach));
    return Result;
}

FString FBoxSphereBounds::ToString() const
{
    return FString::Printf("Origin=(%s), BoxExtent=(%s), SphereRadius=%f", *Origin.ToString(),
                           *BoxExtent.ToString(), SphereRadius);
}
} // namespace VT::Math
