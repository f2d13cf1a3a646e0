#pragma once

#include "Core/Containers/Array.h"

#include <cstddef>

/**
 * Reference counts for a dense range of IDs, with a free list.
 *
 * An ID is live while its count is positive. Allocating hands out the most recently freed ID, or the
 * next unused one, with a count of one; decrementing a count to zero frees the ID. Live IDs can be
 * walked in ascending order without allocating.
 */
class FRefCountVector
{
public:
    bool IsValid(int32 ID) const { return ID >= 0 && ID < Counts.Num() && Counts.GetData()[ID] > 0; }
    int32 GetCount(int32 ID) const { return Counts[ID]; }
    /** One past the highest ID ever allocated. */
    int32 GetMaxID() const { return Counts.Num(); }
    int32 GetLiveCount() const { return Counts.Num() - FreeIDs.Num(); }

    /** Sizes the storage for this many IDs. */
    void Reserve(int32 NumIDs) { Counts.Reserve(NumIDs); }

    /** A live ID with a count of one. */
    int32 Allocate()
    {
        if (FreeIDs.IsEmpty())
        {
            return Counts.Add(1);
        }
        const int32 ID = FreeIDs.Pop();
        Counts[ID] = 1;
        return ID;
    }

    void Increment(int32 ID)
    {
        VT_CHECKF(IsValid(ID), "incrementing free ID %d", ID);
        ++Counts[ID];
    }

    /** Lowers the count and frees the ID when it reaches zero; returns the new count. */
    int32 Decrement(int32 ID)
    {
        VT_CHECKF(IsValid(ID), "decrementing free ID %d", ID);
        if (--Counts[ID] == 0)
        {
            FreeIDs.Add(ID);
        }
        return Counts[ID];
    }

    void Empty()
    {
        Counts.Empty();
        FreeIDs.Empty();
    }

    /** True when the free list holds exactly the IDs whose count is zero, each once. */
    bool IsConsistent() const
    {
        int32 NumZero = 0;
        for (const int32 Count : Counts)
        {
            NumZero += Count == 0 ? 1 : 0;
        }
        TArray<uint8> Listed;
        Listed.Init(0, Counts.Num());
        for (const int32 ID : FreeIDs)
        {
            if (!Counts.IsValidIndex(ID) || Counts[ID] != 0 || Listed[ID] != 0)
            {
                return false;
            }
            Listed[ID] = 1;
        }
        return NumZero == FreeIDs.Num();
    }

    /** Walks the live IDs in ascending order. */
    class FIterator
    {
    public:
        using difference_type = std::ptrdiff_t;
        using value_type = int32;

        FIterator() = default;
        FIterator(const TArray<int32>& InCounts, int32 InID) : Counts(&InCounts), ID(InID) { SkipFree(); }

        int32 operator*() const { return ID; }
        FIterator& operator++()
        {
            ++ID;
            SkipFree();
            return *this;
        }
        FIterator operator++(int)
        {
            FIterator Previous = *this;
            ++*this;
            return Previous;
        }
        bool operator==(const FIterator& Other) const { return ID == Other.ID; }

    private:
        void SkipFree()
        {
            while (ID < Counts->Num() && (*Counts)[ID] == 0)
            {
                ++ID;
            }
        }

        const TArray<int32>* Counts = nullptr;
        int32 ID = 0;
    };

    struct FRange
    {
        FIterator First;
        FIterator Last;
        FIterator begin() const { return First; }
        FIterator end() const { return Last; }
    };

    FRange Indices() const { return FRange{FIterator(Counts, 0), FIterator(Counts, Counts.Num())}; }

private:
    TArray<int32> Counts;
    TArray<int32> FreeIDs;
};
