#pragma once

#include "Core/Containers/Array.h"
#include "Core/Name/Name.h"

#include <memory>
#include <utility>

class FDynamicMesh3;

/** Attributes of one type kept under names, in the order they were attached; copies are deep. */
template <typename AttributeType>
class TDynamicMeshNamedAttributes
{
public:
    /** The attribute under Name, attaching a new one for the mesh when there is none. */
    AttributeType* Attach(FName Name, const FDynamicMesh3* Mesh)
    {
        if (AttributeType* Existing = Find(Name))
        {
            return Existing;
        }
        Entries.Add(FEntry{Name, std::make_unique<AttributeType>(Mesh)});
        return Entries.Last().Attribute.get();
    }

    const AttributeType* Find(FName Name) const
    {
        const FEntry* Entry =
            Entries.FindByPredicate([Name](const FEntry& Each) { return Each.Name == Name; });
        return Entry ? Entry->Attribute.get() : nullptr;
    }
    AttributeType* Find(FName Name) { return const_cast<AttributeType*>(std::as_const(*this).Find(Name)); }

    /** False when nothing was attached under Name. */
    bool Remove(FName Name)
    {
        return Entries.RemoveAll([Name](const FEntry& Each) { return Each.Name == Name; }) > 0;
    }

    TArray<FName> GetNames() const
    {
        TArray<FName> Names;
        for (const FEntry& Entry : Entries)
        {
            Names.Add(Entry.Name);
        }
        return Names;
    }

    /** Replaces these attributes with copies of Source's, still attached to Source's mesh. */
    void CopyFrom(const TDynamicMeshNamedAttributes& Source)
    {
        Entries.Reset();
        for (const FEntry& Entry : Source.Entries)
        {
            Entries.Add(FEntry{Entry.Name, std::make_unique<AttributeType>(*Entry.Attribute)});
        }
    }

    template <typename FuncType>
    void ForEach(FuncType&& Func)
    {
        for (FEntry& Entry : Entries)
        {
            Func(*Entry.Attribute);
        }
    }
    template <typename FuncType>
    void ForEach(FuncType&& Func) const
    {
        for (const FEntry& Entry : Entries)
        {
            Func(static_cast<const AttributeType&>(*Entry.Attribute));
        }
    }

private:
    struct FEntry
    {
        FName Name;
        std::unique_ptr<AttributeType> Attribute;
    };

    TArray<FEntry> Entries;
};
