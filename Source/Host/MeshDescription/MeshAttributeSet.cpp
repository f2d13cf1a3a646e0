#include "MeshDescription/MeshAttributeSet.h"

FMeshAttributeSetBase::FMeshAttributeSetBase(const FMeshAttributeSetBase& Other)
    : NumElements(Other.NumElements)
{
    Entries.Reserve(Other.Entries.Num());
    for (const FEntry& Entry : Other.Entries)
    {
        Entries.Add(FEntry{Entry.Name, Entry.Array->Clone()});
    }
}

void FMeshAttributeSetBase::CopyWithoutElements(const FMeshAttributeSetBase& Other)
{
    Entries.Reset();
    NumElements = 0;
    for (const FEntry& Entry : Other.Entries)
    {
        Entries.Add(FEntry{Entry.Name, Entry.Array->CloneEmpty()});
    }
}

FMeshAttributeSetBase& FMeshAttributeSetBase::operator=(const FMeshAttributeSetBase& Other)
{
    if (this != &Other)
    {
        *this = FMeshAttributeSetBase(Other);
    }
    return *this;
}

FMeshAttributeSetBase::FMeshAttributeSetBase(FMeshAttributeSetBase&& Other) noexcept
    : Entries(std::move(Other.Entries)), NumElements(std::exchange(Other.NumElements, 0))
{
}

FMeshAttributeSetBase& FMeshAttributeSetBase::operator=(FMeshAttributeSetBase&& Other) noexcept
{
    if (this != &Other)
    {
        Entries = std::move(Other.Entries);
        NumElements = std::exchange(Other.NumElements, 0);
        Other.Entries.Reset();
    }
    return *this;
}

FMeshAttributeArrayBase* FMeshAttributeSetBase::Find(FName Name) const
{
    for (const FEntry& Entry : Entries)
    {
        if (Entry.Name == Name)
        {
            return Entry.Array.get();
        }
    }
    return nullptr;
}

void FMeshAttributeSetBase::UnregisterAttribute(FName Name)
{
    Entries.RemoveAll([Name](const FEntry& Entry) { return Entry.Name == Name; });
}

TArray<FName> FMeshAttributeSetBase::GetAttributeNames() const
{
    TArray<FName> Names;
    for (const FEntry& Entry : Entries)
    {
        Names.Add(Entry.Name);
    }
    return Names;
}

FMeshAttributeArrayBase& FMeshAttributeSetBase::RegisterArray(FName Name,
                                                              std::unique_ptr<FMeshAttributeArrayBase> Array)
{
    VT_CHECKF(!HasAttribute(Name), "attribute '%s' is already registered", *Name.ToString());
    Array->SetNumElements(NumElements);
    Entries.Add(FEntry{Name, std::move(Array)});
    return *Entries.Last().Array;
}

void FMeshAttributeSetBase::Insert(int32 Index)
{
    if (Index >= NumElements)
    {
        SetNumElements(Index + 1);
        return;
    }
    Remove(Index);
}

void FMeshAttributeSetBase::Remove(int32 Index)
{
    for (FEntry& Entry : Entries)
    {
        Entry.Array->ResetElement(Index);
    }
}

void FMeshAttributeSetBase::Remove(std::span<const int32> Indices)
{
    for (FEntry& Entry : Entries)
    {
        Entry.Array->ResetElements(Indices);
    }
}

void FMeshAttributeSetBase::SetNumElements(int32 Num)
{
    NumElements = Num;
    for (FEntry& Entry : Entries)
    {
        Entry.Array->SetNumElements(Num);
    }
}

void FMeshAttributeSetBase::Reserve(int32 Num)
{
    for (FEntry& Entry : Entries)
    {
        Entry.Array->Reserve(Num);
    }
}

void FMeshAttributeSetBase::Permute(const TArray<int32>& NewToOld)
{
    NumElements = NewToOld.Num();
    for (FEntry& Entry : Entries)
    {
        Entry.Array->Permute(NewToOld);
    }
}

bool operator==(const FMeshAttributeSetBase& A, const FMeshAttributeSetBase& B)
{
    if (A.NumElements != B.NumElements || A.Entries.Num() != B.Entries.Num())
    {
        return false;
    }
    for (int32 Index = 0; Index < A.Entries.Num(); ++Index)
    {
        const auto& EntryA = A.Entries[Index];
        const auto& EntryB = B.Entries[Index];
        if (EntryA.Name != EntryB.Name || !EntryA.Array->Equals(*EntryB.Array))
        {
            return false;
        }
    }
    return true;
}
