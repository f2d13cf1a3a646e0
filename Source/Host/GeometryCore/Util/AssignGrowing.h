#pragma once

#include "Core/Containers/Array.h"

/** Stores Value at Index, first growing the array with default values when Index lies past its end. */
template <typename T>
void AssignGrowing(TArray<T>& Array, int32 Index, const T& Value)
{
    if (Index == Array.Num())
    {
        Array.Add(Value);
        return;
    }
    if (Index > Array.Num())
    {
        Array.SetNum(Index + 1);
    }
    Array[Index] = Value;
}
