#include "Core/Text/Text.h"

#include "Core/Text/TextData.h"

#include <string>
#include <string_view>

namespace
{
bool IsEscapable(char Character)
{
    return Character == '{' || Character == '}' || Character == '`';
}

/**
 * Reads an argument reference "{N}" that starts at Start. On success sets the index and the
 * position just past the closing brace.
 */
bool ParseArgumentReference(std::string_view Pattern, size_t Start, int32& OutIndex, size_t& OutEnd)
{
    constexpr int64 MaxIndex = 1'000'000'000;
    int64 Index = 0;
    size_t Position = Start + 1;
    for (; Position < Pattern.size() && Pattern[Position] >= '0' && Pattern[Position] <= '9'; ++Position)
    {
        Index = Index * 10 + (Pattern[Position] - '0');
        if (Index > MaxIndex)
        {
            return false;
        }
    }
    if (Position == Start + 1 || Position >= Pattern.size() || Pattern[Position] != '}')
    {
        return false;
    }
    OutIndex = static_cast<int32>(Index);
    OutEnd = Position + 1;
    return true;
}

std::string SubstituteArguments(std::string_view Pattern, const TArray<FFormatArgumentValue>& Arguments)
{
    std::string Result;
    Result.reserve(Pattern.size());
    size_t Position = 0;
    while (Position < Pattern.size())
    {
        const char Character = Pattern[Position];
        if (Character == '`' && Position + 1 < Pattern.size() && IsEscapable(Pattern[Position + 1]))
        {
            Result += Pattern[Position + 1];
            Position += 2;
            continue;
        }
        int32 Index = INDEX_NONE;
        size_t End = 0;
        if (Character == '{' && ParseArgumentReference(Pattern, Position, Index, End) &&
            Arguments.IsValidIndex(Index))
        {
            Result += Arguments[Index].ToFormattedString().View();
            Position = End;
            continue;
        }
        Result += Character;
        ++Position;
    }
    return Result;
}
} // namespace

FText FText::FormatOrdered(const FText& Pattern, TArray<FFormatArgumentValue> Arguments)
{
    FString Display(SubstituteArguments(Pattern.ToString().View(), Arguments));
    return FText(
        std::make_shared<const FData>(FData{std::move(Display), Pattern.GetSourceString(),
                                            Pattern.GetNamespace(), Pattern.GetKey(), std::move(Arguments)}));
}
