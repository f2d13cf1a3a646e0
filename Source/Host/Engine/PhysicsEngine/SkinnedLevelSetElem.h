#pragma once

#include "Engine/PhysicsEngine/LevelSetElem.h"

/**
 * A level set that bends with bones. A coarse lattice spans the level set's grid (its corner
 * points lie on the grid's corners); every lattice point carries one weight per bone in
 * BoneNames, and deforming the lattice by the weighted bone transforms deforms the shape.
 * LatticeBoneWeights holds, per lattice point (X fastest, then Y, then Z), BoneNames.Num()
 * weights in the order of BoneNames; the weights of one point add up to one.
 */
struct FKSkinnedLevelSetElem : public FKLevelSetElem
{
    TArray<FName> BoneNames;
    FGridDimensions LatticeDims;
    TArray<float> LatticeBoneWeights;

    /** Why the shape cannot be used (its grid, its bones or its weights), or empty when it can. */
    FString Validate() const;
    bool IsValid() const { return Validate().IsEmpty(); }

    /** The weight of a bone at a lattice point; both must exist and the weights must be complete. */
    float GetBoneWeight(int64 LatticePointIndex, int32 BoneIndex) const;

    bool operator==(const FKSkinnedLevelSetElem& Other) const = default;

private:
    FString ValidateBones() const;
    FString ValidateWeights() const;
};
