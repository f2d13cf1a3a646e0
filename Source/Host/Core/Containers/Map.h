#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/Hash.h"

#include <unordered_map>

template <typename KeyType, typename ValueType>
struct TPair
{
    KeyType Key;
    ValueType Value;

    bool operator==(const TPair& Other) const = default;
};

/**
 * A map from unique keys to values that iterates in the order the keys were first added.
 * Removing a key moves the last pair into its place.
 */
template <typename KeyType, typename ValueType>
class TMap
{
public:
    using PairType = TPair<KeyType, ValueType>;

    TMap() = default;
    TMap(std::initializer_list<PairType> Init)
    {
        for (const PairType& Pair : Init)
        {
            Add(Pair.Key, Pair.Value);
        }
    }

    int32 Num() const { return Pairs.Num(); }
    bool IsEmpty() const { return Pairs.IsEmpty(); }
    bool Contains(const KeyType& Key) const { return Index.contains(Key); }

    /** Sets the value of a key, adding the key when it is new. Returns the stored value. */
    ValueType& Add(const KeyType& Key, ValueType Value = ValueType())
    {
        ValueType& Slot = FindOrAdd(Key);
        Slot = std::move(Value);
        return Slot;
    }
    ValueType& FindOrAdd(const KeyType& Key)
    {
        const auto [It, bInserted] = Index.try_emplace(Key, Pairs.Num());
        if (bInserted)
        {
            Pairs.Add(PairType{Key, ValueType()});
        }
        return Pairs[It->second].Value;
    }
    ValueType* Find(const KeyType& Key)
    {
        const auto It = Index.find(Key);
        return It == Index.end() ? nullptr : &Pairs[It->second].Value;
    }
    const ValueType* Find(const KeyType& Key) const { return const_cast<TMap*>(this)->Find(Key); }
    /** The value of a key, or a default value when the key is absent. */
    ValueType FindRef(const KeyType& Key) const
    {
        const ValueType* Value = Find(Key);
        return Value ? *Value : ValueType();
    }
    ValueType& FindChecked(const KeyType& Key)
    {
        ValueType* Value = Find(Key);
        VT_CHECKF(Value != nullptr, "key not in map");
        return *Value;
    }
    const ValueType& FindChecked(const KeyType& Key) const
    {
        return const_cast<TMap*>(this)->FindChecked(Key);
    }
    ValueType& operator[](const KeyType& Key) { return FindChecked(Key); }
    const ValueType& operator[](const KeyType& Key) const { return FindChecked(Key); }

    /** Removes a key; returns how many were removed (0 or 1). */
    int32 Remove(const KeyType& Key)
    {
        const auto It = Index.find(Key);
        if (It == Index.end())
        {
            return 0;
        }
        const int32 Slot = It->second;
        Index.erase(It);
        if (Slot != Pairs.Num() - 1)
        {
            Index[Pairs.Last().Key] = Slot;
        }
        Pairs.RemoveAtSwap(Slot);
        return 1;
    }
    void Reserve(int32 Count)
    {
        Pairs.Reserve(Count);
        Index.reserve(static_cast<std::size_t>(Count));
    }
    void Empty()
    {
        Pairs.Empty();
        Index.clear();
    }

    TArray<KeyType> GetKeys() const
    {
        TArray<KeyType> Keys;
        Keys.Reserve(Num());
        for (const PairType& Pair : Pairs)
        {
            Keys.Add(Pair.Key);
        }
        return Keys;
    }

    bool operator==(const TMap& Other) const
    {
        if (Num() != Other.Num())
        {
            return false;
        }
        for (const PairType& Pair : Pairs)
        {
            const ValueType* OtherValue = Other.Find(Pair.Key);
            if (!OtherValue || !(*OtherValue == Pair.Value))
            {
                return false;
            }
        }
        return true;
    }

    auto begin() { return Pairs.begin(); }
    auto end() { return Pairs.end(); }
    auto begin() const { return Pairs.begin(); }
    auto end() const { return Pairs.end(); }

private:
    TArray<PairType> Pairs;
    std::unordered_map<KeyType, int32, TDefaultHash<KeyType>> Index;
};
