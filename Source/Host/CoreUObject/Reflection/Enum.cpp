#include "CoreUObject/Reflection/Enum.h"

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

int64 UEnum::GetValueByNameString(const FString& Text) const
{
    FString EntryName = Text.TrimStartAndEnd();
    const FString Prefix = GetName() + "::";
    if (EntryName.StartsWith(Prefix.View(), ESearchCase::IgnoreCase))
    {
        EntryName = EntryName.RightChop(Prefix.Len());
    }
    for (const FEntry& Entry : Entries)
    {
        if (Entry.Name == FName(EntryName))
        {
            return Entry.Value;
        }
    }
    for (const FEntry& Entry : Entries)
    {
        if (GetDisplayNameByValue(Entry.Value).Equals(EntryName, ESearchCase::IgnoreCase))
        {
            return Entry.Value;
        }
    }
    return INDEX_NONE;
}
