#pragma once

#include "Core/Containers/Array.h"

#include <functional>
#include <span>

/**
 * Rows of varying length kept in one shared pool: per row a span of the pool.
 *
 * Rows that shrink stay where they are; a row that outgrows its span moves to the end of the pool
 * and leaves its old span behind. Once more than half of the pool is left behind the pool is repacked,
 * so storage stays linear in the live values and no row ever owns an allocation of its own.
 */
template <typename T>
class TJaggedArray
{
public:
    int32 NumRows() const { return Rows.Num(); }
    bool IsValidRow(int32 Row) const { return Rows.IsValidIndex(Row); }

    /** Adds or drops rows at the end; added rows are empty. */
    void SetNumRows(int32 Num)
    {
        for (int32 Row = Num; Row < Rows.Num(); ++Row)
        {
            Abandoned += Rows[Row].Capacity;
        }
        Rows.SetNum(Num);
        RepackIfWasteful();
    }

    /** Sizes the storage for this many rows holding this many values in all. */
    void Reserve(int32 NumRowsToHold, int32 NumValues)
    {
        Rows.Reserve(NumRowsToHold);
        Pool.Reserve(NumValues);
    }

    std::span<const T> operator[](int32 Row) const
    {
        const FSpan& Span = Rows[Row];
        return {Pool.GetData() + Span.Start, static_cast<size_t>(Span.Num)};
    }

    std::span<T> operator[](int32 Row)
    {
        const FSpan& Span = Rows[Row];
        return {Pool.GetData() + Span.Start, static_cast<size_t>(Span.Num)};
    }

    void SetRow(int32 Row, std::span<const T> Values)
    {
        FSpan& Span = Rows[Row];
        const int32 Num = static_cast<int32>(Values.size());
        if (Num > Span.Capacity)
        {
            // Values may be another row of this pool, which growing the pool moves.
            const T* PoolBegin = Pool.GetData();
            const bool bFromPool = std::less_equal<const T*>()(PoolBegin, Values.data()) &&
                                   std::less<const T*>()(Values.data(), PoolBegin + Pool.Num());
            const int64 SourceStart = bFromPool ? Values.data() - PoolBegin : 0;
            Abandoned += Span.Capacity;
            Span.Start = Pool.Num();
            Span.Capacity = Num;
            Pool.SetNum(Pool.Num() + Num);
            if (bFromPool)
            {
                Values = std::span<const T>(Pool.GetData() + SourceStart, static_cast<size_t>(Num));
            }
        }
        std::copy(Values.begin(), Values.end(), Pool.GetData() + Span.Start);
        Span.Num = Num;
        RepackIfWasteful();
    }

    void ClearRow(int32 Row) { Rows[Row].Num = 0; }

    /** Rebuilds the rows in a new order: row i of the result is row NewToOld[i] of this one. */
    void Permute(const TArray<int32>& NewToOld)
    {
        TJaggedArray Result;
        Result.Rows.SetNum(NewToOld.Num());
        Result.Pool.Reserve(CountValues(NewToOld));
        for (int32 NewRow = 0; NewRow < NewToOld.Num(); ++NewRow)
        {
            Result.AppendPacked(NewRow, (*this)[NewToOld[NewRow]]);
        }
        *this = std::move(Result);
    }

    void Empty()
    {
        Rows.Empty();
        Pool.Empty();
        Abandoned = 0;
    }

    /** Number of pool entries, live or left behind; for tests of the storage policy. */
    int32 GetPoolSize() const { return Pool.Num(); }

    friend bool operator==(const TJaggedArray& A, const TJaggedArray& B)
    {
        if (A.NumRows() != B.NumRows())
        {
            return false;
        }
        for (int32 Row = 0; Row < A.NumRows(); ++Row)
        {
            if (!std::ranges::equal(A[Row], B[Row]))
            {
                return false;
            }
        }
        return true;
    }

private:
    struct FSpan
    {
        int32 Start = 0;
        int32 Num = 0;
        int32 Capacity = 0;
    };

    int32 CountValues(const TArray<int32>& RowList) const
    {
        int32 Count = 0;
        for (const int32 Row : RowList)
        {
            Count += Rows[Row].Num;
        }
        return Count;
    }

    void AppendPacked(int32 Row, std::span<const T> Values)
    {
        FSpan& Span = Rows[Row];
        Span.Start = Pool.Num();
        Span.Num = Span.Capacity = static_cast<int32>(Values.size());
        for (const T& Value : Values)
        {
            Pool.Add(Value);
        }
    }

    void RepackIfWasteful()
    {
        if (Abandoned > 1024 && Abandoned * 2 > static_cast<int64>(Pool.Num()))
        {
            TArray<int32> Identity;
            Identity.SetNum(Rows.Num());
            for (int32 Row = 0; Row < Rows.Num(); ++Row)
            {
                Identity[Row] = Row;
            }
            Permute(Identity);
        }
    }

    TArray<FSpan> Rows;
    TArray<T> Pool;
    int64 Abandoned = 0;
};
