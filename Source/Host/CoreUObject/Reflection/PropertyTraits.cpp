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

namespace
{
template <typename T>
bool ParseWholeNumber(const FString& Text, T& OutValue)
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
} // namespace

bool ParseInteger(const FString& Text, int64& OutValue)
{
    return ParseWholeNumber(Text, OutValue);
}

bool ParseInteger(const FString& Text, uint64& OutValue)
{
    return ParseWholeNumber(Text, OutValue);
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
    bool bEscaped = false;
    for (const char Character : Body.View())
    {
        if (bInQuotes && !bEscaped && Character == '\\')
        {
            bEscaped = true;
            Current += Character;
            continue;
        }
        if (Character == '"' && !bEscaped)
        {
            bInQuotes = !bInQuotes;
        }
        bEscaped = false;
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
    const bool bNeedsQuotes = Text.IsEmpty() || Text.TrimStartAndEnd().Len() != Text.Len() ||
                              Text.View().find_first_of(",()\"\\") != std::string_view::npos;
    return bNeedsQuotes ? "\"" + Text.Replace("\\", "\\\\").Replace("\"", "\\\"") + "\"" : Text;
}

FString Unquote(const FString& Text)
{
    if (Text.Len() < 2 || !Text.StartsWith("\"") || !Text.EndsWith("\""))
    {
        return Text;
    }
    const FString Quoted = Text.Mid(1, Text.Len() - 2);
    FString Result;
    bool bEscaped = false;
    for (const char Character : Quoted.View())
    {
        if (!bEscaped && Character == '\\')
        {
            bEscaped = true;
            continue;
        }
        bEscaped = false;
        Result += Character;
    }
    return Result;
}
} // namespace VT::Reflection
