#pragma once

#include "MeshDescription/MeshAttributeArray.h"
#include "MeshDescription/MeshBoneWeightsArray.h"

#include <type_traits>

/**
 * A handle on one attribute of one element kind, indexed by that kind's ID. With a const value type
 * (TMeshAttributesConstRef) it reads only. A default-constructed handle is invalid: it stands for an
 * attribute that the mesh does not have.
 */
template <typename IDType, typename ValueType>
class TMeshAttributesRef
{
    using FValue = std::remove_const_t<ValueType>;
    using FArray = std::conditional_t<std::is_const_v<ValueType>, const TMeshAttributeArray<FValue>,
                                      TMeshAttributeArray<FValue>>;

public:
    TMeshAttributesRef() = default;
    explicit TMeshAttributesRef(FArray* InArray) : Array(InArray) {}

    /** A read-only handle converts from a writable one. */
    template <typename OtherValue>
    requires(std::is_const_v<ValueType>&& std::is_same_v<std::remove_const_t<OtherValue>, FValue>)
        TMeshAttributesRef(const TMeshAttributesRef<IDType, OtherValue>& Other)
        : Array(Other.GetArray())
    {
    }

    bool IsValid() const { return Array != nullptr; }
    int32 GetNumChannels() const { return Array->GetNumChannels(); }
    int32 GetNumElements() const { return Array->GetNumElements(); }
    const FValue& GetDefaultValue() const { return Array->GetDefaultValue(); }

    ValueType& operator[](IDType ID) const { return Array->Get(ID.GetValue(), 0); }
    ValueType& Get(IDType ID, int32 Channel = 0) const { return Array->Get(ID.GetValue(), Channel); }

    void Set(IDType ID, const FValue& Value) const requires(!std::is_const_v<ValueType>)
    {
        Array->Get(ID.GetValue(), 0) = Value;
    }
    void Set(IDType ID, int32 Channel, const FValue& Value) const requires(!std::is_const_v<ValueType>)
    {
        Array->Get(ID.GetValue(), Channel) = Value;
    }
    void SetNumChannels(int32 Num) const requires(!std::is_const_v<ValueType>) { Array->SetNumChannels(Num); }

    FArray* GetArray() const { return Array; }

private:
    FArray* Array = nullptr;
};

template <typename IDType, typename ValueType>
using TMeshAttributesConstRef = TMeshAttributesRef<IDType, const ValueType>;

/** A handle on one skin-weight profile: per vertex its list of bone influences. */
template <typename IDType, bool bConst>
class TBoneWeightsRef
{
    using FArray = std::conditional_t<bConst, const FMeshBoneWeightsArray, FMeshBoneWeightsArray>;

public:
    TBoneWeightsRef() = default;
    explicit TBoneWeightsRef(FArray* InArray) : Array(InArray) {}

    bool IsValid() const { return Array != nullptr; }
    int32 GetNumElements() const { return Array->GetNumElements(); }
    std::span<const FBoneWeight> Get(IDType ID) const { return Array->Get(ID.GetValue()); }
    void Set(IDType ID, std::span<const FBoneWeight> Weights) const requires(!bConst)
    {
        Array->Set(ID.GetValue(), Weights);
    }

private:
    FArray* Array = nullptr;
};
