#pragma once

#include "Core/CoreTypes.h"
#include "Core/Misc/Check.h"

/** Two element IDs, such as the vertices or the triangles of an edge. Default-constructed IDs are -1. */
struct FIndex2i
{
    int32 A = -1;
    int32 B = -1;

    int32& operator[](int32 Index)
    {
        VT_CHECKF(Index == 0 || Index == 1, "index %d of a pair", Index);
        return Index == 0 ? A : B;
    }
    int32 operator[](int32 Index) const { return const_cast<FIndex2i&>(*this)[Index]; }

    bool operator==(const FIndex2i&) const = default;

    bool Contains(int32 Value) const { return A == Value || B == Value; }
    /** 0 or 1 for the first entry equal to Value, or -1. */
    int32 IndexOf(int32 Value) const { return A == Value ? 0 : (B == Value ? 1 : -1); }
    /** The entry that is not Value, or -1 when Value is neither. */
    int32 OtherElement(int32 Value) const { return A == Value ? B : (B == Value ? A : -1); }
};

/** Three element IDs, such as the corners or the edges of a triangle. Default-constructed IDs are -1. */
struct FIndex3i
{
    int32 A = -1;
    int32 B = -1;
    int32 C = -1;

    int32& operator[](int32 Index)
    {
        VT_CHECKF(Index >= 0 && Index < 3, "index %d of a triple", Index);
        return Index == 0 ? A : (Index == 1 ? B : C);
    }
    int32 operator[](int32 Index) const { return const_cast<FIndex3i&>(*this)[Index]; }

    bool operator==(const FIndex3i&) const = default;

    bool Contains(int32 Value) const { return A == Value || B == Value || C == Value; }
    /** 0, 1 or 2 for the first entry equal to Value, or -1. */
    int32 IndexOf(int32 Value) const { return A == Value ? 0 : (B == Value ? 1 : (C == Value ? 2 : -1)); }
    /** True when Other holds the same entries in the same cyclic order, starting anywhere. */
    bool IsRotationOf(const FIndex3i& Other) const
    {
        const int32 Start = IndexOf(Other.A);
        return Start >= 0 && (*this)[(Start + 1) % 3] == Other.B && (*this)[(Start + 2) % 3] == Other.C;
    }
};
