#include "Engine/PhysicsEngine/SkinnedLevelSetElem.h"

#include "Core/Misc/Check.h"

#include <cmath>

namespace
{
/** How far the weights of one lattice point may add up away from one. */
constexpr float WeightSumTolerance = 1.0e-3f;
} // namespace

FString FKSkinnedLevelSetElem::Validate() const
{
    FString Error = FKLevelSetElem::Validate();
    if (Error.IsEmpty())
    {
        Error = ValidateBones();
    }
    if (Error.IsEmpty())
    {
        Error = ValidateWeights();
    }
    return Error;
}

FString FKSkinnedLevelSetElem::ValidateBones() const
{
    if (BoneNames.IsEmpty())
    {
        return "no bones to weight the lattice to";
    }
    for (int32 Index = 0; Index < BoneNames.Num(); ++Index)
    {
        if (BoneNames[Index].IsNone() || BoneNames.Find(BoneNames[Index]) != Index)
        {
            return FString::Printf("bone %d ('%s') is None or listed twice", Index,
                                   *BoneNames[Index].ToString());
        }
    }
    return FString();
}

FString FKSkinnedLevelSetElem::ValidateWeights() const
{
    if (!LatticeDims.IsValid())
    {
        return FString::Printf("lattice dimensions %dx%dx%d are not all between 1 and %d", LatticeDims.X,
                               LatticeDims.Y, LatticeDims.Z, FGridDimensions::MaxPointsPerAxis);
    }
    const int64 PointCount = LatticeDims.GetPointCount();
    if (int64(LatticeBoneWeights.Num()) != PointCount * BoneNames.Num())
    {
        return FString::Printf("%d lattice weights for %lld points and %d bones", LatticeBoneWeights.Num(),
                               static_cast<long long>(PointCount), BoneNames.Num());
    }
    for (int64 Point = 0; Point < PointCount; ++Point)
    {
        float Sum = 0.0f;
        for (int32 Bone = 0; Bone < BoneNames.Num(); ++Bone)
        {
            const float Weight = LatticeBoneWeights[static_cast<int32>(Point * BoneNames.Num() + Bone)];
            if (!(Weight >= 0.0f && Weight <= 1.0f))
            {
                return FString::Printf("lattice point %lld has weight %g outside 0..1",
                                       static_cast<long long>(Point), double(Weight));
            }
            Sum += Weight;
        }
        if (std::abs(Sum - 1.0f) > WeightSumTolerance)
        {
            return FString::Printf("the weights of lattice point %lld add up to %g, not 1",
                                   static_cast<long long>(Point), double(Sum));
        }
    }
    return FString();
}

float FKSkinnedLevelSetElem::GetBoneWeight(int64 LatticePointIndex, int32 BoneIndex) const
{
    VT_CHECKF(LatticePointIndex >= 0 && LatticePointIndex < LatticeDims.GetPointCount(),
              "lattice point %lld does not exist", static_cast<long long>(LatticePointIndex));
    VT_CHECKF(BoneNames.IsValidIndex(BoneIndex), "bone %d does not exist", BoneIndex);
    VT_CHECKF(int64(LatticeBoneWeights.Num()) == LatticeDims.GetPointCount() * BoneNames.Num(),
              "skinned level set '%s' has %d weights", *Name.ToString(), LatticeBoneWeights.Num());
    return LatticeBoneWeights[static_cast<int32>(LatticePointIndex * BoneNames.Num() + BoneIndex)];
}
