#pragma once

#include "Core/Containers/Array.h"

/**
 * A set of IDs below a fixed bound, one bit per ID: sized once, then every test and insertion is
 * constant time without allocating. IDs outside the bound are never members.
 */
class FIDBitSet
{
public:
    FIDBitSet() = default;
    explicit FIDBitSet(int32 InBound) { Reset(InBound); }

    /** Empties the set and sets its bound. */
    void Reset(int32 InBound)
    {
        Bound = InBound;
        Words.Init(0, (InBound + BitsPerWord - 1) / BitsPerWord);
    }

    int32 GetBound() const { return Bound; }

    bool Contains(int32 ID) const
    {
        return ID >= 0 && ID < Bound && (Words[ID / BitsPerWord] & BitOf(ID)) != 0;
    }

    /** Adds an ID below the bound; true when it was not a member yet. */
    bool Add(int32 ID)
    {
        VT_CHECKF(ID >= 0 && ID < Bound, "ID %d outside the bound %d", ID, Bound);
        uint64& Word = Words[ID / BitsPerWord];
        const bool bAdded = (Word & BitOf(ID)) == 0;
        Word |= BitOf(ID);
        return bAdded;
    }

    void Remove(int32 ID)
    {
        if (Contains(ID))
        {
            Words[ID / BitsPerWord] &= ~BitOf(ID);
        }
    }

private:
    static constexpr int32 BitsPerWord = 64;

    static uint64 BitOf(int32 ID) { return uint64{1} << (ID % BitsPerWord); }

    int32 Bound = 0;
    TArray<uint64> Words;
};
