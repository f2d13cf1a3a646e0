#include "GeometryCore/DynamicMesh/BoneWeightBlend.h"

#include <algorithm>
#include <cmath>

namespace
{
struct FBlendedInfluence
{
    uint16 BoneIndex = 0;
    double Weight = 0.0;
};

void AddInfluences(std::span<const FBoneWeight> Weights, double Scale, TArray<FBlendedInfluence>& Blend)
{
    for (const FBoneWeight& Weight : Weights)
    {
        FBlendedInfluence* Existing = Blend.FindByPredicate([&Weight](const FBlendedInfluence& Each)
                                                            { return Each.BoneIndex == Weight.BoneIndex; });
        const double Scaled = Scale * Weight.GetWeight();
        if (Existing)
        {
            Existing->Weight += Scaled;
        }
        else
        {
            Blend.Add({Weight.BoneIndex, Scaled});
        }
    }
}
} // namespace

void BlendBoneWeights(std::span<const FBoneWeight> A, std::span<const FBoneWeight> B, double T,
                      int32 MaxInfluences, TArray<FBoneWeight>& Out)
{
    Out.Reset();
    if (T == 0.0 || T == 1.0)
    {
        for (const FBoneWeight& Weight : T == 0.0 ? A : B)
        {
            Out.Add(Weight);
        }
        return;
    }
    // Few influences per vertex: a small array on the stack's thread, reused, beats a map.
    thread_local TArray<FBlendedInfluence> Blend;
    Blend.Reset();
    AddInfluences(A, 1.0 - T, Blend);
    AddInfluences(B, T, Blend);
    Blend.Sort([](const FBlendedInfluence& Left, const FBlendedInfluence& Right)
               { return Left.Weight != Right.Weight ? Left.Weight > Right.Weight : Left.BoneIndex < Right.BoneIndex; });
    const int32 Kept = std::min(Blend.Num(), std::max(MaxInfluences, 0));
    double Total = 0.0;
    for (int32 Index = 0; Index < Kept; ++Index)
    {
        Total += Blend[Index].Weight;
    }
    if (Total <= 0.0)
    {
        return;
    }
    int32 RawTotal = 0;
    for (int32 Index = 0; Index < Kept; ++Index)
    {
        const int32 Raw = static_cast<int32>(std::lround(Blend[Index].Weight / Total * FBoneWeight::MaxRawWeight));
        if (Raw > 0)
        {
            Out.Add({Blend[Index].BoneIndex, static_cast<uint16>(Raw)});
            RawTotal += Raw;
        }
    }
    Out[0].RawWeight = static_cast<uint16>(Out[0].RawWeight + (FBoneWeight::MaxRawWeight - RawTotal));
}
