#pragma once

#include "Core/CoreTypes.h"

/** One influence of a skinned vertex: a bone index and a weight where 65535 stands for 1. */
struct FBoneWeight
{
    static constexpr uint16 MaxRawWeight = 65535;

    uint16 BoneIndex = 0;
    uint16 RawWeight = 0;

    float GetWeight() const { return static_cast<float>(RawWeight) / MaxRawWeight; }

    friend bool operator==(const FBoneWeight&, const FBoneWeight&) = default;
};
