#pragma once

#include "Core/Containers/Array.h"

#include <functional>
#include <utility>

/**
 * The IDs of one element kind of a mesh description: a sparse set over [0, GetArraySize()).
 *
 * A new element takes the lowest free ID, else one past the highest, so the IDs that a deletion
 * frees are handed out again before the range grows.
 */
template <typename IDType>
class TMeshElementIDSet
{
public:
    TMeshElementIDSet() = default;
    TMeshElementIDSet(const TMeshElementIDSet&) = default;
    TMeshElementIDSet& operator=(const TMeshElementIDSet&) = default;
    /** A moved-from set is empty. */
    TMeshElementIDSet(TMeshElementIDSet&& Other) noexcept
        : Allocated(std::move(Other.Allocated)), FreeIDs(std::move(Other.FreeIDs)),
          NumAllocated(std::exchange(Other.NumAllocated, 0))
    {
    }
    TMeshElementIDSet& operator=(TMeshElementIDSet&& Other) noexcept
    {
        if (this != &Other)
        {
            Allocated = std::move(Other.Allocated);
            FreeIDs = std::move(Other.FreeIDs);
            NumAllocated = Other.NumAllocated;
            Other.Empty();
        }
        return *this;
    }

    int32 Num() const { return NumAllocated; }
    int32 GetArraySize() const { return Allocated.Num(); }
    bool IsEmpty() const { return NumAllocated == 0; }

    bool IsValid(IDType ID) const
    {
        const int32 Index = ID.GetValue();
        return Index >= 0 && Index < Allocated.Num() && Allocated.GetData()[Index] != 0;
    }

    /** Iterates the live IDs in ascending order. */
    class FIterator
    {
    public:
        FIterator(const TArray<uint8>& InAllocated, int32 InIndex) : Bits(&InAllocated), Index(InIndex)
        {
            SkipFree();
        }
        IDType operator*() const { return IDType(Index); }
        FIterator& operator++()
        {
            ++Index;
            SkipFree();
            return *this;
        }
        bool operator==(const FIterator& Other) const { return Index == Other.Index; }

    private:
        // Reads through the array on every step, so elements added while iterating are visited too.
        void SkipFree()
        {
            while (Index < Bits->Num() && Bits->GetData()[Index] == 0)
            {
                ++Index;
            }
        }
        const TArray<uint8>* Bits;
        int32 Index;
    };

    struct FRange
    {
        const TArray<uint8>* Bits;
        FIterator begin() const { return FIterator(*Bits, 0); }
        FIterator end() const { return FIterator(*Bits, Bits->Num()); }
    };

    FRange GetElementIDs() const { return FRange{&Allocated}; }

    /** Takes the lowest free ID, or one past the highest. */
    IDType Add()
    {
        const int32 Index = PopLowestFree();
        Insert(IDType(Index));
        return IDType(Index);
    }

    /** Allocates a chosen ID, which must be free. */
    void Insert(IDType ID)
    {
        const int32 Index = ID.GetValue();
        VT_CHECKF(Index >= 0 && !IsValid(ID), "element %d is already allocated", Index);
        for (int32 Gap = Allocated.Num(); Gap < Index; ++Gap)
        {
            PushFree(Gap);
        }
        if (Index == Allocated.Num())
        {
            Allocated.Add(0);
        }
        else if (Index > Allocated.Num())
        {
            Allocated.SetNum(Index + 1, 0);
        }
        Allocated[Index] = 1;
        ++NumAllocated;
    }

    void Remove(IDType ID)
    {
        VT_CHECKF(IsValid(ID), "element %d is not allocated", ID.GetValue());
        Allocated[ID.GetValue()] = 0;
        --NumAllocated;
        PushFree(ID.GetValue());
    }

    /**
     * Frees, in one pass, every live ID whose value ShouldRemove accepts, and returns the freed values in
     * ascending order.
     */
    template <typename PredicateType>
    TArray<int32> RemoveIf(PredicateType&& ShouldRemove)
    {
        TArray<int32> Removed;
        uint8* Bits = Allocated.GetData();
        for (int32 Index = 0; Index < Allocated.Num(); ++Index)
        {
            if (Bits[Index] != 0 && ShouldRemove(Index))
            {
                Bits[Index] = 0;
                Removed.Add(Index);
            }
        }
        NumAllocated -= Removed.Num();
        // The free IDs in ascending order already form a min-heap.
        FreeIDs.Reset();
        FreeIDs.Reserve(Allocated.Num() - NumAllocated);
        for (int32 Index = 0; Index < Allocated.Num(); ++Index)
        {
            if (Bits[Index] == 0)
            {
                FreeIDs.Add(Index);
            }
        }
        return Removed;
    }

    void Reserve(int32 Num) { Allocated.Reserve(Num); }

    void Empty()
    {
        Allocated.Empty();
        FreeIDs.Empty();
        NumAllocated = 0;
    }

    /**
     * Renumbers the live IDs densely in ascending order and returns, for every old ID, its new ID
     * (INDEX_NONE for free IDs).
     */
    TArray<int32> Compact()
    {
        TArray<int32> OldToNew;
        OldToNew.SetNum(Allocated.Num());
        int32 Next = 0;
        for (int32 Index = 0; Index < Allocated.Num(); ++Index)
        {
            OldToNew.GetData()[Index] = Allocated.GetData()[Index] != 0 ? Next++ : INDEX_NONE;
        }
        Allocated.Init(1, Next);
        FreeIDs.Empty();
        return OldToNew;
    }

    friend bool operator==(const TMeshElementIDSet& A, const TMeshElementIDSet& B)
    {
        return A.Allocated == B.Allocated;
    }

private:
    // FreeIDs is a min-heap, so the lowest free ID comes first. An ID allocated by Insert stays in the
    // heap and is skipped when it comes to the top, which keeps Insert free of any search.
    void PushFree(int32 Index)
    {
        FreeIDs.Add(Index);
        std::push_heap(FreeIDs.begin(), FreeIDs.end(), std::greater<>());
    }

    /** The lowest free ID, or one past the highest when none is free. */
    int32 PopLowestFree()
    {
        while (!FreeIDs.IsEmpty())
        {
            std::pop_heap(FreeIDs.begin(), FreeIDs.end(), std::greater<>());
            const int32 Index = FreeIDs.Pop();
            if (Allocated[Index] == 0)
            {
                return Index;
            }
        }
        return Allocated.Num();
    }

    TArray<uint8> Allocated;
    TArray<int32> FreeIDs;
    int32 NumAllocated = 0;
};
