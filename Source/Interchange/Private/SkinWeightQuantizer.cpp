#include "Interchange/Private/SkinWeightQuantizer.h"

#include <algorithm>
#include <cmath>

namespace
{
/** Rounds weights (any positive scale) to raw weights summing to 65535, by largest remainder. */
void RoundToRawWeights(const TArray<double>& Weights, TArray<uint16>& OutRaw)
{
    double Total = 0.0;
    for (const double Weight : Weights)
    {
        Total += Weight;
    }
    TArray<double> Remainders;
    OutRaw.SetNum(Weights.Num());
    Remainders.SetNum(Weights.Num());
    int32 Assigned = 0;
    for (int32 Index = 0; Index < Weights.Num(); ++Index)
    {
        const double Scaled = Weights[Index] / Total * FBoneWeight::MaxRawWeight;
        const double Floor = std::floor(Scaled);
        OutRaw[Index] = static_cast<uint16>(Floor);
        Remainders[Index] = Scaled - Floor;
        Assigned += OutRaw[Index];
    }
    for (int32 Missing = FBoneWeight::MaxRawWeight - Assigned; Missing > 0; --Missing)
    {
        int32 Best = 0;
        for (int32 Index = 1; Index < Remainders.Num(); ++Index)
        {
            Best = Remainders[Index] > Remainders[Best] ? Index : Best;
        }
        ++OutRaw[Best];
        Remainders[Best] = -1.0;
    }
}

void EmitNonZero(const TArray<uint16>& Bones, const TArray<uint16>& Raw, TArray<FBoneWeight>& OutWeights)
{
    OutWeights.Reset();
    for (int32 Index = 0; Index < Bones.Num(); ++Index)
    {
        if (Raw[Index] > 0)
        {
            OutWeights.Add(FBoneWeight{Bones[Index], Raw[Index]});
        }
    }
}
} // namespace

void QuantizeInfluences(std::span<const FSourceInfluence> Influences, TArray<FBoneWeight>& OutWeights)
{
    // Scratch arrays are per thread and reused, so a million vertices cost no allocation each.
    thread_local TArray<uint16> Bones;
    thread_local TArray<double> Weights;
    thread_local TArray<uint16> Raw;
    Bones.Reset();
    Weights.Reset();
    for (const FSourceInfluence& Influence : Influences)
    {
        if (!(Influence.Weight > 0.0f))
        {
            continue;
        }
        const int32 Existing = Bones.Find(static_cast<uint16>(Influence.Bone));
        if (Existing != INDEX_NONE)
        {
            Weights[Existing] += Influence.Weight;
            continue;
        }
        Bones.Add(static_cast<uint16>(Influence.Bone));
        Weights.Add(Influence.Weight);
    }
    OutWeights.Reset();
    if (Bones.IsEmpty())
    {
        return;
    }
    RoundToRawWeights(Weights, Raw);
    EmitNonZero(Bones, Raw, OutWeights);
}

bool KeepHeaviestInfluences(std::span<const FBoneWeight> Weights, int32 MaxCount,
                            TArray<FBoneWeight>& OutWeights)
{
    OutWeights.Reset();
    if (static_cast<int32>(Weights.size()) <= MaxCount)
    {
        for (const FBoneWeight& Weight : Weights)
        {
            OutWeights.Add(Weight);
        }
        return false;
    }
    TArray<int32> Order;
    for (int32 Index = 0; Index < static_cast<int32>(Weights.size()); ++Index)
    {
        Order.Add(Index);
    }
    Order.StableSort([&Weights](int32 A, int32 B) { return Weights[A].RawWeight > Weights[B].RawWeight; });
    Order.SetNum(MaxCount);
    Order.Sort();
    TArray<uint16> Bones;
    TArray<double> Kept;
    TArray<uint16> Raw;
    for (const int32 Index : Order)
    {
        Bones.Add(Weights[Index].BoneIndex);
        Kept.Add(Weights[Index].RawWeight);
    }
    RoundToRawWeights(Kept, Raw);
    EmitNonZero(Bones, Raw, OutWeights);
    return true;
}
