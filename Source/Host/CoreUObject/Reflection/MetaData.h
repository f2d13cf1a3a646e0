#pragma once

#include "Core/Containers/Map.h"
#include "Core/Containers/String.h"
#include "Core/Name/Name.h"

#include <initializer_list>
#include <utility>

/** Metadata of a reflected field: keys compare without case, values are strings. */
class FMetaData
{
public:
    FMetaData() = default;
    FMetaData(std::initializer_list<std::pair<const char*, const char*>> Entries)
    {
        for (const auto& [Key, Value] : Entries)
        {
            Values.Add(FName(Key), FString(Value));
        }
    }

    bool Has(FName Key) const { return Values.Contains(Key); }
    /** The value of a key, or the empty string. */
    const FString& Get(FName Key) const
    {
        static const FString Empty;
        const FString* Value = Values.Find(Key);
        return Value ? *Value : Empty;
    }
    void Set(FName Key, const FString& Value) { Values.Add(Key, Value); }
    const TMap<FName, FString>& GetAll() const { return Values; }

private:
    TMap<FName, FString> Values;
};

/** The base of every reflected field (property, function, enumeration entry). */
class FField
{
public:
    FField(FName InName, FMetaData InMetaData) : Name(InName), MetaData(std::move(InMetaData)) {}
    virtual ~FField() = default;

    FName GetFName() const { return Name; }
    FString GetName() const { return Name.ToString(); }

    bool HasMetaData(FName Key) const { return MetaData.Has(Key); }
    const FString& GetMetaData(FName Key) const { return MetaData.Get(Key); }
    const FMetaData& GetAllMetaData() const { return MetaData; }
    /** The DisplayName metadata, else the name split into words ("bPendingDelete" -> "Pending Delete"). */
    FString GetDisplayName() const;

private:
    FName Name;
    FMetaData MetaData;
};

/** Splits a code name into words for display: drops a boolean's "b" and breaks at case changes. */
FString MakeDisplayNameFromCodeName(const FString& CodeName);
