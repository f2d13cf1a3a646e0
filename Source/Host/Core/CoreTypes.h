#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>

using int8 = std::int8_t;
using int16 = std::int16_t;
using int32 = std::int32_t;
using int64 = std::int64_t;
using uint8 = std::uint8_t;
using uint16 = std::uint16_t;
using uint32 = std::uint32_t;
using uint64 = std::uint64_t;

/** The index that names no element. */
inline constexpr int32 INDEX_NONE = -1;

/** An integer type that holds a number: not a boolean and not a character. */
template <typename T>
concept CWholeNumber =
    std::integral<T> && !std::same_as<T, bool> && !std::same_as<T, char> && !std::same_as<T, char8_t> &&
    !std::same_as<T, char16_t> && !std::same_as<T, char32_t> && !std::same_as<T, wchar_t>;

enum class ESearchCase : uint8
{
    CaseSensitive,
    IgnoreCase,
};

enum class ESearchDir : uint8
{
    FromStart,
    FromEnd,
};
