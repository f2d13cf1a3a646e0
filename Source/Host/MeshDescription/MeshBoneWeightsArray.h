#pragma once

#include "Core/Animation/BoneWeight.h"
#include "Core/Containers/JaggedArray.h"
#include "MeshDescription/MeshAttributeArray.h"

/** Per element a list of bone influences of any length; the default is no influence at all. */
class FMeshBoneWeightsArray final : public FMeshAttributeArrayBase
{
public:
    explicit FMeshBoneWeightsArray(int32 NumElements) { Rows.SetNumRows(NumElements); }

    std::unique_ptr<FMeshAttributeArrayBase> Clone() const override
    {
        return std::make_unique<FMeshBoneWeightsArray>(*this);
    }

    std::unique_ptr<FMeshAttributeArrayBase> CloneEmpty() const override
    {
        return std::make_unique<FMeshBoneWeightsArray>(0);
    }

    bool Equals(const FMeshAttributeArrayBase& Other) const override
    {
        const auto* Typed = dynamic_cast<const FMeshBoneWeightsArray*>(&Other);
        return Typed && Typed->Rows == Rows;
    }

    int32 GetNumChannels() const override { return 1; }
    void SetNumElements(int32 Num) override { Rows.SetNumRows(Num); }
    void Reserve(int32 Num) override { Rows.Reserve(Num, 0); }
    void ResetElement(int32 Index) override { Rows.ClearRow(Index); }
    void ResetElements(std::span<const int32> Indices) override
    {
        for (const int32 Index : Indices)
        {
            Rows.ClearRow(Index);
        }
    }
    void Permute(const TArray<int32>& NewToOld) override { Rows.Permute(NewToOld); }

    std::span<const FBoneWeight> Get(int32 Index) const { return Rows[Index]; }
    void Set(int32 Index, std::span<const FBoneWeight> Weights) { Rows.SetRow(Index, Weights); }
    int32 GetNumElements() const { return Rows.NumRows(); }

private:
    TJaggedArray<FBoneWeight> Rows;
};
