#include "CoreUObject/Object/ObjectDuplication.h"

#include "CoreUObject/Object/GarbageCollection.h"
#include "CoreUObject/Object/ObjectArray.h"
#include "CoreUObject/Object/ObjectStateAccess.h"
#include "CoreUObject/Object/Package.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace
{
using FCopyMap = std::unordered_map<const UObject*, UObject*>;
using FClones = std::vector<std::unique_ptr<UObject>>;

/** Source and the live objects inside it, breadth first: every outer comes before its inners. */
TArray<const UObject*> GatherObjectsToCopy(const UObject* Source)
{
    std::unordered_map<const UObject*, TArray<const UObject*>> Inners;
    FUObjectArray::Get().ForEachObject(
        [&Inners](const UObject* Object)
        {
            if (Object->IsValid() && Object->GetOuter())
            {
                Inners[Object->GetOuter()].Add(Object);
            }
        });
    TArray<const UObject*> Ordered{Source};
    for (int32 Index = 0; Index < Ordered.Num(); ++Index)
    {
        if (const auto Found = Inners.find(Ordered[Index]); Found != Inners.end())
        {
            Ordered.Append(Found->second);
        }
    }
    return Ordered;
}

/** Copies the state of every original; false as soon as one class cannot be copied. */
bool CloneAll(const TArray<const UObject*>& Originals, FClones& OutClones)
{
    for (const UObject* Original : Originals)
    {
        UObject* Clone = FObjectStateAccess::Clone(Original);
        if (!Clone)
        {
            return false;
        }
        OutClones.emplace_back(Clone);
    }
    return true;
}

/** Gives every clone its identity; the first clone is the copy of the source. */
FCopyMap RegisterClones(const TArray<const UObject*>& Originals, FClones& Clones, UObject* Outer, FName Name)
{
    FCopyMap Copies;
    for (int32 Index = 0; Index < Originals.Num(); ++Index)
    {
        const UObject* Original = Originals[Index];
        const bool bIsSource = Index == 0;
        UObject* Copy = Clones[static_cast<size_t>(Index)].release();
        UObject* CopyOuter = bIsSource ? Outer : Copies.at(Original->GetOuter());
        const FName CopyName = bIsSource ? Name : Original->GetFName();
        const EObjectFlags Flags = Original->GetFlags() & ~(RF_RootSet | RF_Native);
        FUObjectArray::Get().Register(Copy, Original->GetClass(), CopyOuter, CopyName, Flags);
        Copies.emplace(Original, Copy);
    }
    return Copies;
}

/** Points every reference to a copied original at its copy. */
class FDuplicateReferenceRemapper final : public FReferenceCollector
{
public:
    explicit FDuplicateReferenceRemapper(const FCopyMap& InCopies) : Copies(InCopies) {}

    using FReferenceCollector::AddReferencedObject;

    void AddReferencedObject(UObject*& Object) override
    {
        if (const auto Found = Copies.find(Object); Found != Copies.end())
        {
            Object = Found->second;
        }
    }

private:
    const FCopyMap& Copies;
};
} // namespace

UObject* StaticDuplicateObject(const UObject* Source, UObject* Outer, FName Name)
{
    if (!IsValid(Source))
    {
        return nullptr;
    }
    if (!Outer)
    {
        Outer = GetTransientPackage();
    }
    FUObjectArray& Objects = FUObjectArray::Get();
    if (!Name.IsNone() && Objects.FindObject(Outer, Name))
    {
        return nullptr;
    }
    const TArray<const UObject*> Originals = GatherObjectsToCopy(Source);
    FClones Clones;
    if (!CloneAll(Originals, Clones))
    {
        return nullptr;
    }
    if (Name.IsNone())
    {
        Name = Objects.MakeUniqueObjectName(Outer, Source->GetClass());
    }
    const FCopyMap Copies = RegisterClones(Originals, Clones, Outer, Name);
    FDuplicateReferenceRemapper Remapper(Copies);
    for (const UObject* Original : Originals)
    {
        Remapper.AddReferencesOf(Copies.at(Original));
    }
    for (const UObject* Original : Originals)
    {
        Copies.at(Original)->PostDuplicate();
    }
    return Copies.at(Source);
}
