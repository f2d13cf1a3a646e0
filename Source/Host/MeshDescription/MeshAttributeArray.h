#pragma once

#include "Core/Containers/Array.h"

#include <memory>
#include <span>

/**
 * The values of one named attribute for every element of one kind, behind a type-erased face so that
 * an attribute set can grow, reset, renumber and copy its attributes without knowing their types.
 */
class FMeshAttributeArrayBase
{
public:
    virtual ~FMeshAttributeArrayBase() = default;

    virtual std::unique_ptr<FMeshAttributeArrayBase> Clone() const = 0;
    /** An array of the same type, channels and default value, without elements. */
    virtual std::unique_ptr<FMeshAttributeArrayBase> CloneEmpty() const = 0;
    virtual bool Equals(const FMeshAttributeArrayBase& Other) const = 0;
    virtual int32 GetNumChannels() const = 0;

    /** Sizes the array to the element range; new elements take the default value. */
    virtual void SetNumElements(int32 Num) = 0;
    /** Sizes the storage for this many elements without adding any. */
    virtual void Reserve(int32 Num) = 0;
    /** Gives one element the default value again. */
    virtual void ResetElement(int32 Index) = 0;
    /** Gives each listed element the default value again. */
    virtual void ResetElements(std::span<const int32> Indices) = 0;
    /** Renumbers: element i of the result is element NewToOld[i] of this array. */
    virtual void Permute(const TArray<int32>& NewToOld) = 0;
};

/** Attribute values of type T in one or more channels (texture coordinate sets, for instance). */
template <typename T>
class TMeshAttributeArray final : public FMeshAttributeArrayBase
{
public:
    TMeshAttributeArray(int32 NumChannels, const T& InDefaultValue, int32 NumElements)
        : DefaultValue(InDefaultValue)
    {
        Channels.SetNum(NumChannels);
        SetNumElements(NumElements);
    }

    std::unique_ptr<FMeshAttributeArrayBase> Clone() const override
    {
        return std::make_unique<TMeshAttributeArray>(*this);
    }

    std::unique_ptr<FMeshAttributeArrayBase> CloneEmpty() const override
    {
        return std::make_unique<TMeshAttributeArray>(Channels.Num(), DefaultValue, 0);
    }

    bool Equals(const FMeshAttributeArrayBase& Other) const override
    {
        const auto* Typed = dynamic_cast<const TMeshAttributeArray*>(&Other);
        return Typed && Typed->Channels == Channels && Typed->DefaultValue == DefaultValue;
    }

    int32 GetNumChannels() const override { return Channels.Num(); }

    void SetNumChannels(int32 Num)
    {
        const int32 Elements = NumElements;
        Channels.SetNum(Num);
        SetNumElements(Elements);
    }

    void SetNumElements(int32 Num) override
    {
        const bool bOneMore = Num == NumElements + 1;
        NumElements = Num;
        for (TArray<T>& Channel : Channels)
        {
            // Appending is far cheaper than a resize, and one more element is what creation asks for.
            if (bOneMore)
            {
                Channel.Add(DefaultValue);
            }
            else
            {
                Channel.SetNum(Num, DefaultValue);
            }
        }
    }

    void Reserve(int32 Num) override
    {
        for (TArray<T>& Channel : Channels)
        {
            Channel.Reserve(Num);
        }
    }

    void ResetElement(int32 Index) override
    {
        for (TArray<T>& Channel : Channels)
        {
            Channel[Index] = DefaultValue;
        }
    }

    void ResetElements(std::span<const int32> Indices) override
    {
        for (TArray<T>& Channel : Channels)
        {
            for (const int32 Index : Indices)
            {
                Channel[Index] = DefaultValue;
            }
        }
    }

    void Permute(const TArray<int32>& NewToOld) override
    {
        for (TArray<T>& Channel : Channels)
        {
            TArray<T> Permuted;
            Permuted.Reserve(NewToOld.Num());
            for (const int32 Old : NewToOld)
            {
                Permuted.Add(Channel.GetData()[Old]);
            }
            Channel = std::move(Permuted);
        }
        NumElements = NewToOld.Num();
    }

    T& Get(int32 Index, int32 Channel) { return Channels[Channel][Index]; }
    const T& Get(int32 Index, int32 Channel) const { return Channels[Channel][Index]; }
    const T& GetDefaultValue() const { return DefaultValue; }
    int32 GetNumElements() const { return NumElements; }

private:
    TArray<TArray<T>> Channels;
    T DefaultValue;
    int32 NumElements = 0;
};
