#pragma once

#include "Core/Containers/Array.h"
#include "Core/Math/Quat.h"
#include "Core/Math/Transform.h"
#include "Core/Math/Vector.h"
#include "Core/Name/Name.h"

/**
 * The keys of one bone in an animation, one entry per key in each array. The data controller
 * keeps the three arrays the same length.
 */
struct FAnimationBoneTrack
{
    FName Name;
    TArray<FVector3f> PositionKeys;
    TArray<FQuat4f> RotationKeys;
    TArray<FVector3f> ScaleKeys;

    bool operator==(const FAnimationBoneTrack& Other) const = default;

    int32 GetNumKeys() const { return PositionKeys.Num(); }

    /** The bone's local transform at a key, in double precision. */
    FTransform GetKeyTransform(int32 KeyIndex) const
    {
        return FTransform(FQuat(RotationKeys[KeyIndex]), FVector(PositionKeys[KeyIndex]),
                          FVector(ScaleKeys[KeyIndex]));
    }

    /** Drops the keys past NumKeys, or repeats the last key up to NumKeys; a track without keys stays empty.
     */
    void SetNumKeys(int32 NumKeys)
    {
        ResizeKeys(PositionKeys, NumKeys);
        ResizeKeys(RotationKeys, NumKeys);
        ResizeKeys(ScaleKeys, NumKeys);
    }

private:
    template <typename KeyType>
    static void ResizeKeys(TArray<KeyType>& Keys, int32 NumKeys)
    {
        if (!Keys.IsEmpty())
        {
            const KeyType LastKey = Keys.Last();
            Keys.SetNum(NumKeys, LastKey);
        }
    }
};
