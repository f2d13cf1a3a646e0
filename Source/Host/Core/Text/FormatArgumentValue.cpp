#include "Core/Text/FormatArgumentValue.h"

#include "Core/Misc/Check.h"

int64 FFormatArgumentValue::GetIntValue() const
{
    VT_CHECKF(GetType() == EFormatArgumentType::Int, "format argument is not a signed integer");
    return std::get<int64>(Storage);
}

uint64 FFormatArgumentValue::GetUIntValue() const
{
    VT_CHECKF(GetType() == EFormatArgumentType::UInt, "format argument is not an unsigned integer");
    return std::get<uint64>(Storage);
}

double FFormatArgumentValue::GetDoubleValue() const
{
    VT_CHECKF(GetType() == EFormatArgumentType::Double, "format argument is not a real number");
    return std::get<double>(Storage);
}

const FText& FFormatArgumentValue::GetTextValue() const
{
    VT_CHECKF(GetType() == EFormatArgumentType::Text, "format argument is not a text");
    return std::get<FText>(Storage);
}

FString FFormatArgumentValue::ToFormattedString() const
{
    return std::visit(
        [](const auto& Value) -> FString
        {
            if constexpr (std::is_same_v<std::decay_t<decltype(Value)>, FText>)
            {
                return Value.ToString();
            }
            else
            {
                return FText::AsNumber(Value).ToString();
            }
        },
        Storage);
}
