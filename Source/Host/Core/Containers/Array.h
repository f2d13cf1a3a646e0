#pragma once

#include "Core/CoreTypes.h"
#include "Core/Misc/Check.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <type_traits>
#include <utility>
#include <vector>

/**
 * A dynamic array with the host's vocabulary, over std::vector.
 * Indices are int32; every indexed access is bounds-checked.
 */
template <typename T>
class TArray
{
    static_assert(!std::is_same_v<T, bool>,
                  "TArray<bool> would be a packed std::vector<bool>: use TArray<uint8>");

public:
    using ElementType = T;
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;

    TArray() = default;
    TArray(std::initializer_list<T> Init) : Data(Init) {}
    explicit TArray(std::vector<T> Init) : Data(std::move(Init)) {}
    TArray(const T* Ptr, int32 Count) : Data(Ptr, Ptr + Count) {}

    int32 Num() const { return static_cast<int32>(Data.size()); }
    bool IsEmpty() const { return Data.empty(); }
    bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Num(); }
    int32 Max() const { return static_cast<int32>(Data.capacity()); }

    T* GetData() { return Data.data(); }
    const T* GetData() const { return Data.data(); }

    T& operator[](int32 Index)
    {
        VT_CHECKF(IsValidIndex(Index), "index %d out of bounds (%d)", Index, Num());
        return Data[static_cast<size_t>(Index)];
    }
    const T& operator[](int32 Index) const
    {
        VT_CHECKF(IsValidIndex(Index), "index %d out of bounds (%d)", Index, Num());
        return Data[static_cast<size_t>(Index)];
    }

    T& Last(int32 IndexFromEnd = 0) { return (*this)[Num() - 1 - IndexFromEnd]; }
    const T& Last(int32 IndexFromEnd = 0) const { return (*this)[Num() - 1 - IndexFromEnd]; }
    T& Top() { return Last(); }

    /** Appends an element and returns its index. */
    int32 Add(const T& Item)
    {
        Data.push_back(Item);
        return Num() - 1;
    }
    int32 Add(T&& Item)
    {
        Data.push_back(std::move(Item));
        return Num() - 1;
    }
    template <typename... ArgTypes>
    int32 Emplace(ArgTypes&&... Args)
    {
        Data.emplace_back(std::forward<ArgTypes>(Args)...);
        return Num() - 1;
    }
    template <typename... ArgTypes>
    T& Emplace_GetRef(ArgTypes&&... Args)
    {
        return Data.emplace_back(std::forward<ArgTypes>(Args)...);
    }
    /** Adds the element unless an equal one is present; returns the index of either. */
    int32 AddUnique(const T& Item)
    {
        const int32 Existing = Find(Item);
        return Existing != INDEX_NONE ? Existing : Add(Item);
    }
    /** Appends Count value-initialized elements and returns the index of the first. */
    int32 AddDefaulted(int32 Count = 1)
    {
        const int32 First = Num();
        Data.resize(Data.size() + static_cast<size_t>(Count));
        return First;
    }
    /** Appends Count copies of Value and returns the index of the first. */
    int32 AddValues(int32 Count, const T& Value)
    {
        const int32 First = Num();
        Data.insert(Data.end(), static_cast<size_t>(Count), Value);
        return First;
    }
    void Append(const TArray& Other) { Data.insert(Data.end(), Other.begin(), Other.end()); }
    void Append(std::initializer_list<T> Items) { Data.insert(Data.end(), Items.begin(), Items.end()); }

    void Insert(const T& Item, int32 Index)
    {
        VT_CHECKF(Index >= 0 && Index <= Num(), "insert index %d out of bounds (%d)", Index, Num());
        Data.insert(Data.begin() + Index, Item);
    }

    void RemoveAt(int32 Index, int32 Count = 1)
    {
        VT_CHECKF(Index >= 0 && Count >= 0 && Index + Count <= Num(), "remove %d at %d out of bounds (%d)",
                  Count, Index, Num());
        Data.erase(Data.begin() + Index, Data.begin() + Index + Count);
    }
    /** Removes an element by moving the last one into its place; order is not kept. */
    void RemoveAtSwap(int32 Index)
    {
        (*this)[Index] = std::move(Data.back());
        Data.pop_back();
    }
    /** Removes every element equal to Item; returns how many were removed. */
    int32 Remove(const T& Item)
    {
        // A copy: Item may be an element of this array, which the removal overwrites.
        return RemoveAll([Value = Item](const T& Element) { return Element == Value; });
    }
    template <typename PredicateType>
    int32 RemoveAll(PredicateType Predicate)
    {
        const auto NewEnd = std::remove_if(Data.begin(), Data.end(), Predicate);
        const int32 Removed = static_cast<int32>(Data.end() - NewEnd);
        Data.erase(NewEnd, Data.end());
        return Removed;
    }
    T Pop()
    {
        T Item = std::move(Last());
        Data.pop_back();
        return Item;
    }

    /** Removes every element; keeps room for Slack elements. */
    void Empty(int32 Slack = 0)
    {
        Data.clear();
        if (Slack > 0)
        {
            Data.reserve(static_cast<size_t>(Slack));
        }
        else
        {
            Data.shrink_to_fit();
        }
    }
    /** Removes every element and keeps the allocation. */
    void Reset() { Data.clear(); }
    void Reserve(int32 Count) { Data.reserve(static_cast<size_t>(Count)); }
    void SetNum(int32 Count) { Data.resize(static_cast<size_t>(Count)); }
    void SetNum(int32 Count, const T& Value) { Data.resize(static_cast<size_t>(Count), Value); }
    /** Sets the size to Count and every element to Value. */
    void Init(const T& Value, int32 Count) { Data.assign(static_cast<size_t>(Count), Value); }
    void Shrink() { Data.shrink_to_fit(); }

    int32 Find(const T& Item) const
    {
        return IndexOfByPredicate([&Item](const T& Element) { return Element == Item; });
    }
    int32 FindLast(const T& Item) const
    {
        for (int32 Index = Num() - 1; Index >= 0; --Index)
        {
            if (Data[static_cast<size_t>(Index)] == Item)
            {
                return Index;
            }
        }
        return INDEX_NONE;
    }
    bool Contains(const T& Item) const { return Find(Item) != INDEX_NONE; }

    template <typename PredicateType>
    int32 IndexOfByPredicate(PredicateType Predicate) const
    {
        const auto It = std::find_if(Data.begin(), Data.end(), Predicate);
        return It == Data.end() ? INDEX_NONE : static_cast<int32>(It - Data.begin());
    }
    template <typename PredicateType>
    const T* FindByPredicate(PredicateType Predicate) const
    {
        const int32 Index = IndexOfByPredicate(Predicate);
        return Index == INDEX_NONE ? nullptr : &Data[static_cast<size_t>(Index)];
    }
    template <typename PredicateType>
    T* FindByPredicate(PredicateType Predicate)
    {
        return const_cast<T*>(std::as_const(*this).FindByPredicate(Predicate));
    }
    template <typename PredicateType>
    bool ContainsByPredicate(PredicateType Predicate) const
    {
        return IndexOfByPredicate(Predicate) != INDEX_NONE;
    }
    template <typename PredicateType>
    TArray FilterByPredicate(PredicateType Predicate) const
    {
        TArray Result;
        std::copy_if(Data.begin(), Data.end(), std::back_inserter(Result.Data), Predicate);
        return Result;
    }

    void Sort() { std::sort(Data.begin(), Data.end()); }
    template <typename LessType>
    void Sort(LessType Less)
    {
        std::sort(Data.begin(), Data.end(), Less);
    }
    void StableSort() { std::stable_sort(Data.begin(), Data.end()); }
    template <typename LessType>
    void StableSort(LessType Less)
    {
        std::stable_sort(Data.begin(), Data.end(), Less);
    }

    bool operator==(const TArray& Other) const = default;

    iterator begin() { return Data.begin(); }
    iterator end() { return Data.end(); }
    const_iterator begin() const { return Data.begin(); }
    const_iterator end() const { return Data.end(); }

private:
    std::vector<T> Data;
};
