#pragma once

#include "Core/Containers/String.h"
#include "Core/CoreTypes.h"
#include "Core/Text/Text.h"

#include <concepts>
#include <type_traits>
#include <utility>
#include <variant>

enum class EFormatArgumentType : uint8
{
    Int,
    UInt,
    Double,
    Text,
};

/**
 * One argument of FText::Format: an integer, a real number or a text. Strings become texts
 * that need no translation. Booleans and characters are refused, as they would print as numbers.
 */
class FFormatArgumentValue
{
public:
    template <CWholeNumber T>
    FFormatArgumentValue(T Value)
    {
        if constexpr (std::is_signed_v<T>)
        {
            Storage.emplace<int64>(Value);
        }
        else
        {
            Storage.emplace<uint64>(Value);
        }
    }
    FFormatArgumentValue(double Value) : Storage(Value) {}
    FFormatArgumentValue(FText Value) : Storage(std::move(Value)) {}
    FFormatArgumentValue(const FString& Value) : Storage(FText::FromString(Value)) {}
    FFormatArgumentValue(const char* Value) : Storage(FText::FromString(FString(Value))) {}
    /** Booleans and characters would print as numbers. */
    template <std::integral T>
    requires(!CWholeNumber<T>) FFormatArgumentValue(T)
    = delete;

    EFormatArgumentType GetType() const { return static_cast<EFormatArgumentType>(Storage.index()); }
    int64 GetIntValue() const;
    uint64 GetUIntValue() const;
    double GetDoubleValue() const;
    const FText& GetTextValue() const;

    /** The argument as Format writes it. */
    FString ToFormattedString() const;

private:
    // Alternatives in the order of EFormatArgumentType.
    std::variant<int64, uint64, double, FText> Storage;
};

template <typename... ArgTypes>
FText FText::Format(const FText& Pattern, ArgTypes&&... Args)
{
    TArray<FFormatArgumentValue> Arguments;
    Arguments.Reserve(static_cast<int32>(sizeof...(Args)));
    (Arguments.Emplace(std::forward<ArgTypes>(Args)), ...);
    return FormatOrdered(Pattern, std::move(Arguments));
}
