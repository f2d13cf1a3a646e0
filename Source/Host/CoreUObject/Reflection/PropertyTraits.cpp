#include "CoreUObject/Reflection/PropertyTraits.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace VT::Reflection
{
bool ParseBool(const FString& Text, bool& OutValue)
{
    const FString Word = Text.TrimStartAndEnd();
    for (const char* True : {"true", "1", "yes", "on"})
    {
        if (Word.Equals(True, ESearchCase::IgnoreCase))
        {
            OutValue = true;
            return true;
        }
    }
    for (const char* False : {"false", "0", "no", "off"})
    {
        if (Word.Equals(False, ESearchCase::IgnoreCase))
        {
            OutValue = false;
            return true;
        }
    }
    return false;
}

bool ParseInteger(const FString& Text, int64& OutValue)
{
    const FString Word = Text.TrimStartAndEnd();
    const char* Begin = *Word;
    const char* End = Begin + Word.Len();
    if (Begin != End && *Begin == '+')
    {
        ++Begin;
    }
    const auto Result = std::from_chars(Begin, End, OutValue);
    return Begin != End && Result.ec == std::errc() && Result.ptr == End;
}

bool ParseReal(const FString& Text, double& OutValue)
{
    const FString Word = Text.TrimStartAndEnd();
    if (Word.IsEmpty())
    {
        return false;
    }
    char* End = nullptr;
    OutValue = std::strtod(*Word, &End);
    return End == *Word + Word.Len() && std::isfinite(OutValue);
}

TArray<FString> SplitList(const FString& Text)
{
    FString Body = Text.TrimStartAndEnd();
    if (Body.StartsWith("(") && Body.EndsWith(")"))
    {
        Body = Body.Mid(1, Body.Len() - 2);
    }
    TArray<FString> Items;
    FString Current;
    bool bInQuotes = false;
    char Previous = 0;
    for (const char Character : Body.View())
    {
        if (Character == '"' && Previous != '\\')
        {
            bInQuotes = !bInQuotes;
        }
        Previous = Character;
        if (Character == ',' && !bInQuotes)
        {
            Items.Add(Current.TrimStartAndEnd());
            Current.Empty();
            continue;
        }
        Current += Character;
    }
    if (!Current.TrimStartAndEnd().IsEmpty() || !Items.IsEmpty())
    {
        Items.Add(Current.TrimStartAndEnd());
    }
    return Items;
}

FString QuoteIfNeeded(const FString& Text)
{
    const bool bNeedsQuotes = Text.IsEmpty() || Text.Contains(",") || Text.Contains("(") ||
                              Text.Contains(")") || Text.Contains("\"") ||
                              Text.TrimStartAndEnd().Len() != Text.Len();
    return bNeedsQuotes ? "\"" + Text.Replace("\"", "\\\"") + "\"" : Text;
}

FString Unquote(const FString& Text)
{
    if (Text.Len() >= 2 && Text.StartsWith("\"") && Text.EndsWith("\""))
    {
        return Text.Mid(1, Text.Len() - 2).Replace("\\\"", "\"");
    }
    return Text;
}
} // namespace VT::Reflection
