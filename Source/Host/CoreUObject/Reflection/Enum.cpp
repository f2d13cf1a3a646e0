#include "CoreUObject/Reflection/Enum.h"

#include "CoreUObject/Reflection/PropertyTraits.h"

int32 UEnum::GetIndexByValue(int64 Value) const
{
    return Entries.IndexOfByPredicate([Value](const FEntry& Entry) { return Entry.Value == Value; });
}

FString UEnum::GetNameStringByValue(int64 Value) const
{
    const int32 Index = GetIndexByValue(Value);
    return Index == INDEX_NONE ? FString() : Entries[Index].Name.ToString();
}

FString UEnum::GetDisplayNameByValue(int64 Value) const
{
    const int32 Index = GetIndexByValue(Value);
    if (Index == INDEX_NONE)
    {
        return FString();
    }
    const FEntry& Entry = Entries[Index];
    return Entry.MetaData.Has("DisplayName") ? Entry.MetaData.Get("DisplayName")
                                             : MakeDisplayNameFromCodeName(Entry.Name.ToString());
}

std::optional<int64> UEnum::FindValue(const FString& Text) const
{
    FString EntryName = Text.TrimStartAndEnd();
    const FString Prefix = GetName() + "::";
    if (EntryName.StartsWith(Prefix.View(), ESearchCase::IgnoreCase))
    {
        EntryName = EntryName.RightChop(Prefix.Len());
    }
    const auto Matches = [this, &EntryName](const FEntry& Entry)
    {
        return Entry.Name.ToString().Equals(EntryName, ESearchCase::IgnoreCase) ||
               GetDisplayNameByValue(Entry.Value).Equals(EntryName, ESearchCase::IgnoreCase);
    };
    if (const FEntry* Entry = Entries.FindByPredicate(Matches))
    {
        return Entry->Value;
    }
    int64 Number = 0;
    if (VT::Reflection::ParseInteger(EntryName, Number) && GetIndexByValue(Number) != INDEX_NONE)
    {
        return Number;
    }
    return std::nullopt;
}
