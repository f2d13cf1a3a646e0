#pragma once

#include "Core/Containers/LinkedAdjacency.h"

/** The elements adjacent to one element, as typed IDs; valid until the mesh changes. */
template <typename IDType>
class TMeshAdjacencyRange
{
public:
    explicit TMeshAdjacencyRange(FLinkedAdjacency::FRange InRange) : Range(InRange) {}

    class FIterator
    {
    public:
        explicit FIterator(FLinkedAdjacency::FIterator InIt) : It(InIt) {}
        IDType operator*() const { return IDType(*It); }
        FIterator& operator++()
        {
            ++It;
            return *this;
        }
        bool operator==(const FIterator& Other) const { return It == Other.It; }

    private:
        FLinkedAdjacency::FIterator It;
    };

    FIterator begin() const { return FIterator(Range.begin()); }
    FIterator end() const { return FIterator(Range.end()); }

    bool IsEmpty() const { return Range.begin() == Range.end(); }

    int32 Num() const
    {
        int32 Count = 0;
        for (auto It = Range.begin(); It != Range.end(); ++It)
        {
            ++Count;
        }
        return Count;
    }

    TArray<IDType> ToArray() const
    {
        TArray<IDType> Result;
        for (const IDType ID : *this)
        {
            Result.Add(ID);
        }
        return Result;
    }

private:
    FLinkedAdjacency::FRange Range;
};
