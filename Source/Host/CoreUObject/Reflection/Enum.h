#pragma once

#include "Core/Containers/Array.h"
#include "CoreUObject/Reflection/MetaData.h"

#include <optional>

/** A reflected enumeration: its entries in declaration order, each with a value and metadata. */
class UEnum
{
public:
    struct FEntry
    {
        FName Name;
        int64 Value = 0;
        FMetaData MetaData;
    };

    UEnum(FName InName, FString InPackageName, TArray<FEntry> InEntries, FMetaData InMetaData)
        : Name(InName), PackageName(std::move(InPackageName)), Entries(std::move(InEntries)),
          MetaData(std::move(InMetaData))
    {
    }

    FName GetFName() const { return Name; }
    FString GetName() const { return Name.ToString(); }
    /** "/Script/Module.EName". */
    FString GetPathName() const { return PackageName + "." + GetName(); }
    const FMetaData& GetMetaData() const { return MetaData; }

    int32 NumEntries() const { return Entries.Num(); }
    const FEntry& GetEntry(int32 Index) const { return Entries[Index]; }
    /** The index of the entry with this value, or INDEX_NONE. */
    int32 GetIndexByValue(int64 Value) const;
    /** The entry's name without the enum's prefix ("NewSlot"); empty when no entry has the value. */
    FString GetNameStringByValue(int64 Value) const;
    /** The DisplayName metadata of the entry, else its name split into words. */
    FString GetDisplayNameByValue(int64 Value) const;
    /**
     * The value of the entry that the text names: "Entry" or "EName::Entry" (case-insensitive),
     * its display name, or its value written as a number. None when no entry matches.
     */
    std::optional<int64> FindValue(const FString& Text) const;

private:
    FName Name;
    FString PackageName;
    TArray<FEntry> Entries;
    FMetaData MetaData;
};

/** The reflection of an enumeration declared with VT_ENUM and VT_ENUM_BODY. */
template <typename EnumType>
UEnum* StaticEnum()
{
    return StaticEnumOf(EnumType{});
}
