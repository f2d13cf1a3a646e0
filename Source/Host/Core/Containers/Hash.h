#pragma once

#include "Core/CoreTypes.h"

#include <concepts>
#include <cstddef>
#include <functional>

/** Combines two hashes into one (order matters). */
inline uint32 HashCombine(uint32 A, uint32 B)
{
    return A ^ (B + 0x9e3779b9u + (A << 6) + (A >> 2));
}

template <typename T>
concept CHasTypeHash = requires(const T& Value)
{
    {
        GetTypeHash(Value)
        } -> std::convertible_to<uint32>;
};

/** Hashes with GetTypeHash where a type provides it, otherwise with std::hash. */
template <typename T>
struct TDefaultHash
{
    std::size_t operator()(const T& Value) const
    {
        if constexpr (CHasTypeHash<T>)
        {
            return GetTypeHash(Value);
        }
        else
        {
            return std::hash<T>{}(Value);
        }
    }
};
