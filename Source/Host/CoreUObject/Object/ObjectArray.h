#pragma once

#include "Core/Containers/Array.h"
#include "CoreUObject/Object/Object.h"

#include <unordered_map>

/** What a weak reference remembers: a slot of the object array and the slot's serial number. */
struct FWeakObjectHandle
{
    int32 ObjectIndex = INDEX_NONE;
    int32 SerialNumber = 0;

    bool operator==(const FWeakObjectHandle& Other) const = default;
};

/**
 * The registry of every live object: slots with serial numbers (so that a weak reference to
 * a freed slot is recognised), the lookup of objects by outer and name, and the count of
 * references held from outside the object system.
 */
class FUObjectArray
{
public:
    static FUObjectArray& Get();

    /** Gives the object its identity and a slot. The name must be free within the outer. */
    void Register(UObject* Object, UClass* Class, UObject* Outer, FName Name, EObjectFlags Flags);
    /** Frees the object's slot; weak references to it go stale. */
    void Unregister(UObject* Object);
    /**
     * Brings back a registered object marked as garbage, findable under its name again. False, with the
     * object left as it is, when a live object has taken its name in the meantime.
     */
    bool Revive(UObject* Object);

    int32 GetSlotCount() const { return Slots.Num(); }
    /** The object in a slot, or null. */
    UObject* GetObjectAt(int32 Index) const { return Slots[Index].Object; }

    /** The live object of that name in the outer; objects marked as garbage are not found. */
    UObject* FindObject(const UObject* Outer, FName Name) const;
    /** A name not yet used within the outer: the class name followed by "_" and a number. */
    FName MakeUniqueObjectName(const UObject* Outer, const UClass* Class);

    FWeakObjectHandle MakeWeakHandle(const UObject* Object) const;
    UObject* ResolveWeakHandle(const FWeakObjectHandle& Handle) const;

    void AddExternalReference(const UObject* Object);
    void RemoveExternalReference(const UObject* Object);
    bool HasExternalReferences(const UObject* Object) const;

    /** Calls Visit(UObject*) for every registered object. */
    template <typename VisitorType>
    void ForEachObject(VisitorType Visit) const
    {
        for (const FSlot& Slot : Slots)
        {
            if (Slot.Object)
            {
                Visit(Slot.Object);
            }
        }
    }

private:
    struct FSlot
    {
        UObject* Object = nullptr;
        int32 SerialNumber = 0;
        int32 ExternalReferences = 0;
    };

    struct FNameKey
    {
        const UObject* Outer;
        FName Name;

        bool operator==(const FNameKey& Other) const = default;
    };
    struct FNameKeyHash
    {
        size_t operator()(const FNameKey& Key) const
        {
            return std::hash<const void*>{}(Key.Outer) ^ (static_cast<size_t>(GetTypeHash(Key.Name)) * 31u);
        }
    };

    TArray<FSlot> Slots;
    TArray<int32> FreeSlots;
    std::unordered_map<FNameKey, UObject*, FNameKeyHash> ByName;
    std::unordered_map<const UClass*, int32> NameCounters;
};
