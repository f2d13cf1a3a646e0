#pragma once

#include "Core/Containers/Array.h"
#include "Core/Containers/Hash.h"

#include <unordered_map>

/**
 * A set of unique elements that iterates in the order the elements were first added.
 * Removing an element moves the last element into its place.
 */
template <typename T>
class TSet
{
public:
    TSet() = default;
    TSet(std::initializer_list<T> Init)
    {
        for (const T& Item : Init)
        {
            Add(Item);
        }
    }

    int32 Num() const { return Elements.Num(); }
    bool IsEmpty() const { return Elements.IsEmpty(); }
    bool Contains(const T& Item) const { return Index.contains(Item); }
    /** The stored element equal to Item, or null. */
    const T* Find(const T& Item) const
    {
        const auto It = Index.find(Item);
        return It == Index.end() ? nullptr : &Elements[It->second];
    }

    /** Adds the element if it is not yet present; returns true when it was added. */
    bool Add(const T& Item)
    {
        const auto [It, bInserted] = Index.try_emplace(Item, Elements.Num());
        if (bInserted)
        {
            Elements.Add(Item);
        }
        return bInserted;
    }
    /** Removes the element; returns how many were removed (0 or 1). */
    int32 Remove(const T& Item)
    {
        const auto It = Index.find(Item);
        if (It == Index.end())
        {
            return 0;
        }
        const int32 Slot = It->second;
        Index.erase(It);
        if (Slot != Elements.Num() - 1)
        {
            Index[Elements.Last()] = Slot;
        }
        Elements.RemoveAtSwap(Slot);
        return 1;
    }
    void Reserve(int32 Count)
    {
        Elements.Reserve(Count);
        Index.reserve(static_cast<std::size_t>(Count));
    }
    void Empty()
    {
        Elements.Empty();
        Index.clear();
    }

    /** The elements in iteration order. */
    const TArray<T>& Array() const { return Elements; }

    bool operator==(const TSet& Other) const
    {
        return Num() == Other.Num() &&
               !Elements.ContainsByPredicate([&Other](const T& Item) { return !Other.Contains(Item); });
    }

    auto begin() const { return Elements.begin(); }
    auto end() const { return Elements.end(); }

private:
    TArray<T> Elements;
    std::unordered_map<T, int32, TDefaultHash<T>> Index;
};
