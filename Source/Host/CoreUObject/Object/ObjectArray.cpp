#include "CoreUObject/Object/ObjectArray.h"

#include "CoreUObject/Object/Package.h"
#include "CoreUObject/Object/Transaction.h"
#include "CoreUObject/Reflection/Class.h"

struct VTObjectInternals
{
    static void SetIdentity(UObject* Object, UClass* Class, UObject* Outer, FName Name, EObjectFlags Flags,
                            int32 Index)
    {
        Object->ClassPrivate = Class;
        Object->OuterPrivate = Outer;
        Object->NamePrivate = Name;
        Object->FlagsPrivate = Flags;
        Object->InternalIndex = Index;
    }
    static int32 GetIndex(const UObject* Object) { return Object->InternalIndex; }
    static void ClearIndex(UObject* Object) { Object->InternalIndex = INDEX_NONE; }
};

namespace
{
/** Undo records the making of what may be saved: objects neither transient nor in a transient package. */
bool IsCreationRecorded(const UObject& Object)
{
    const UPackage* Package = Object.GetPackage();
    return !Object.HasAnyFlags(RF_Transient) && Package && !Package->HasAnyFlags(RF_Transient);
}
} // namespace

FUObjectArray& FUObjectArray::Get()
{
    // Never destroyed: objects and the pointers that reach them may outlive other statics.
    static FUObjectArray& Array = *new FUObjectArray();
    return Array;
}

void FUObjectArray::Register(UObject* Object, UClass* Class, UObject* Outer, FName Name, EObjectFlags Flags)
{
    VT_CHECKF(!Name.IsNone(), "objects need a name");
    VT_CHECKF(FindObject(Outer, Name) == nullptr, "an object named %s already exists in %s",
              Name.GetPlainName(), Outer ? *Outer->GetPathName() : "the root");
    int32 Index;
    if (FreeSlots.IsEmpty())
    {
        Index = Slots.AddDefaulted();
    }
    else
    {
        Index = FreeSlots.Pop();
    }
    Slots[Index].Object = Object;
    Slots[Index].ExternalReferences = 0;
    VTObjectInternals::SetIdentity(Object, Class, Outer, Name, Flags, Index);
    ByName[FNameKey{Outer, Name}] = Object;
    if (GUndo && IsCreationRecorded(*Object))
    {
        GUndo->SaveCreation(Object);
    }
}

bool FUObjectArray::Revive(UObject* Object)
{
    VT_CHECK(Object->GetUniqueID() != INDEX_NONE && Slots[Object->GetUniqueID()].Object == Object);
    const UObject* Holder = FindObject(Object->GetOuter(), Object->GetFName());
    if (Holder && Holder != Object)
    {
        return false;
    }
    Object->ClearFlags(RF_Garbage);
    ByName[FNameKey{Object->GetOuter(), Object->GetFName()}] = Object;
    return true;
}

void FUObjectArray::Unregister(UObject* Object)
{
    const int32 Index = VTObjectInternals::GetIndex(Object);
    VT_CHECK(Slots.IsValidIndex(Index) && Slots[Index].Object == Object);
    const auto Named = ByName.find(FNameKey{Object->GetOuter(), Object->GetFName()});
    if (Named != ByName.end() && Named->second == Object)
    {
        ByName.erase(Named);
    }
    FSlot& Slot = Slots[Index];
    Slot.Object = nullptr;
    Slot.ExternalReferences = 0;
    ++Slot.SerialNumber;
    FreeSlots.Add(Index);
    VTObjectInternals::ClearIndex(Object);
}

UObject* FUObjectArray::FindObject(const UObject* Outer, FName Name) const
{
    const auto It = ByName.find(FNameKey{Outer, Name});
    return It == ByName.end() || !It->second->IsValid() ? nullptr : It->second;
}

FName FUObjectArray::MakeUniqueObjectName(const UObject* Outer, const UClass* Class)
{
    int32& Counter = NameCounters[Class];
    while (true)
    {
        const FName Candidate(FString::Printf("%s_%d", *Class->GetName(), Counter++));
        if (!FindObject(Outer, Candidate))
        {
            return Candidate;
        }
    }
}

FWeakObjectHandle FUObjectArray::MakeWeakHandle(const UObject* Object) const
{
    if (!Object || Object->GetUniqueID() == INDEX_NONE)
    {
        return FWeakObjectHandle();
    }
    const int32 Index = Object->GetUniqueID();
    return FWeakObjectHandle{Index, Slots[Index].SerialNumber};
}

UObject* FUObjectArray::ResolveWeakHandle(const FWeakObjectHandle& Handle) const
{
    if (!Slots.IsValidIndex(Handle.ObjectIndex))
    {
        return nullptr;
    }
    const FSlot& Slot = Slots[Handle.ObjectIndex];
    if (Slot.SerialNumber != Handle.SerialNumber || !Slot.Object || !Slot.Object->IsValid())
    {
        return nullptr;
    }
    return Slot.Object;
}

void FUObjectArray::AddExternalReference(const UObject* Object)
{
    VT_CHECKF(Object->GetUniqueID() != INDEX_NONE, "only registered objects can be held strongly");
    ++Slots[Object->GetUniqueID()].ExternalReferences;
}

void FUObjectArray::RemoveExternalReference(const UObject* Object)
{
    const int32 Index = Object->GetUniqueID();
    if (Slots.IsValidIndex(Index) && Slots[Index].Object == Object && Slots[Index].ExternalReferences > 0)
    {
        --Slots[Index].ExternalReferences;
    }
}

bool FUObjectArray::HasExternalReferences(const UObject* Object) const
{
    const int32 Index = Object->GetUniqueID();
    return Slots.IsValidIndex(Index) && Slots[Index].ExternalReferences > 0;
}
