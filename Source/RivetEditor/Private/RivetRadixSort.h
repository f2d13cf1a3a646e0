#pragma once

#include "Core/Containers/Array.h"

#include <array>
#include <utility>

/**
 * Sorts Items by an unsigned key of at most KeyBits bits, keeping the order of items with equal keys: a
 * radix sort, least significant digit first, that moves the items through Scratch once per 11 bits of key.
 * Linear in the item count, it reads memory in order and writes it in 2048 streams.
 */
template <typename ItemType, typename KeyFunction>
void RadixSortByKey(TArray<ItemType>& Items, TArray<ItemType>& Scratch, int32 KeyBits, KeyFunction KeyOf)
{
    constexpr int32 DigitBits = 11;
    constexpr uint64 DigitMask = (uint64(1) << DigitBits) - 1;
    Scratch.SetNum(Items.Num());
    std::array<int32, (1 << DigitBits) + 1> Starts;
    for (int32 Shift = 0; Shift < KeyBits; Shift += DigitBits)
    {
        const auto DigitOf = [&](const ItemType& Item)
        {
            return static_cast<int32>((static_cast<uint64>(KeyOf(Item)) >> Shift) & DigitMask);
        };
        Starts.fill(0);
        for (const ItemType& Item : Items)
        {
            ++Starts[DigitOf(Item) + 1];
        }
        for (int32 Digit = 1; Digit < static_cast<int32>(Starts.size()); ++Digit)
        {
            Starts[Digit] += Starts[Digit - 1];
        }
        ItemType* Sorted = Scratch.GetData();
        for (const ItemType& Item : Items)
        {
            Sorted[Starts[DigitOf(Item)]++] = Item;
        }
        std::swap(Items, Scratch);
    }
}
