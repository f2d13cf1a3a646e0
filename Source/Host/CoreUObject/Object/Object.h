#pragma once

#include "Core/Containers/Map.h"
#include "Core/Containers/String.h"
#include "Core/Name/Name.h"
#include "CoreUObject/Object/ObjectFlags.h"
#include "CoreUObject/Object/ObjectMacros.h"

#include <type_traits>

class UClass;
class UPackage;
class FProperty;
class FReferenceCollector;
struct FPropertyChangedEvent;

/**
 * The base of every object of the object system. An object has a class, a name that is
 * unique within its outer, an outer (the object that contains it; none for packages) and
 * flags. Objects are made with NewObject and destroyed by the garbage collector.
 *
 * Copying an object (the copy constructor and assignment of every derived class) copies its
 * state, never its identity: undo keeps unregistered copies of recorded objects and assigns
 * them back.
 */
class UObject
{
public:
    using ThisClass = UObject;
    static UClass* StaticClass();

    virtual ~UObject() = default;

    UClass* GetClass() const { return ClassPrivate; }
    FName GetFName() const { return NamePrivate; }
    FString GetName() const { return NamePrivate.ToString(); }
    UObject* GetOuter() const { return OuterPrivate; }
    /** The package at the end of the outer chain (the object itself for a package). */
    UPackage* GetPackage() const;
    /** Names along the outer chain: "/Game/Hero.Hero" for an asset, "Outer.Inner" below it. */
    FString GetPathName() const;

    EObjectFlags GetFlags() const { return FlagsPrivate; }
    bool HasAnyFlags(EObjectFlags Flags) const { return (FlagsPrivate & Flags) != RF_NoFlags; }
    void SetFlags(EObjectFlags Flags) { FlagsPrivate = FlagsPrivate | Flags; }
    void ClearFlags(EObjectFlags Flags) { FlagsPrivate = FlagsPrivate & ~Flags; }

    bool IsA(const UClass* Class) const;
    template <typename T>
    bool IsA() const
    {
        static_assert(std::is_same_v<typename T::ThisClass, T>, "the class needs its own VT_BODY");
        return IsA(T::StaticClass());
    }

    void AddToRoot() { SetFlags(RF_RootSet); }
    void RemoveFromRoot() { ClearFlags(RF_RootSet); }
    bool IsRooted() const { return HasAnyFlags(RF_RootSet); }
    /** Destroys the object now for everyone who reaches it weakly; the next collection frees it. */
    void MarkAsGarbage() { SetFlags(RF_Garbage); }
    bool IsValid() const { return !HasAnyFlags(RF_Garbage); }

    /**
     * Announces a change: records the object's whole state in the open transaction (once per
     * transaction) and, when asked, marks its package dirty. Returns true when recorded.
     */
    virtual bool Modify(bool bAlwaysMarkDirty = true);
    /** Marks the package that contains the object as needing a save. */
    bool MarkPackageDirty() const;

    /** Called before a property is changed through reflection. */
    virtual void PreEditChange(const FProperty* PropertyAboutToChange) { (void)PropertyAboutToChange; }
    /** Called after a property was changed through reflection. */
    virtual void PostEditChangeProperty(FPropertyChangedEvent& Event);
    /** Called after the object was changed; refreshes whatever derives from its data. */
    virtual void PostEditChange();
    /** Called before undo or redo assigns a recorded state back to the object. */
    virtual void PreEditUndo() {}
    /** Called after undo or redo assigned a recorded state back to the object. */
    virtual void PostEditUndo() {}

    /** Reports references that reflection does not see, so the collector keeps them. */
    virtual void AddReferencedObjects(FReferenceCollector& Collector) { (void)Collector; }
    /**
     * Called on each copy that object duplication made, once every copy is registered and the
     * references between copied objects point at the copies. Deep-copies what a plain copy shares.
     */
    virtual void PostDuplicate() {}
    /** Adds the searchable tags (name and value) that the asset registry lists for this asset. */
    virtual void GetAssetRegistryTags(TMap<FName, FString>& OutTags) const { (void)OutTags; }

    /** Called by the collector right before the object is freed. */
    virtual void BeginDestroy() {}

    /** The object's internal index in the object array; INDEX_NONE for unregistered copies. */
    int32 GetUniqueID() const { return InternalIndex; }

protected:
    UObject() = default;
    /** Copies state only: the copy is a nameless, unregistered object of the same class. */
    UObject(const UObject& Other) : ClassPrivate(Other.ClassPrivate) {}
    UObject(UObject&& Other) noexcept : ClassPrivate(Other.ClassPrivate) {}
    /** Keeps identity: assignment never changes class, name, outer, flags or index. */
    UObject& operator=(const UObject&) { return *this; }
    UObject& operator=(UObject&&) noexcept { return *this; }

    /** An unregistered copy of the object's whole state; null when the class cannot be recorded. */
    virtual UObject* CloneForUndo() const;
    /** Exchanges the object's whole state with a copy made by CloneForUndo. */
    virtual void SwapStateForUndo(UObject& Snapshot) { (void)Snapshot; }

private:
    friend class FUObjectArray;
    friend struct FObjectStateAccess;
    friend struct VTObjectInternals;

    UClass* ClassPrivate = nullptr;
    FName NamePrivate;
    UObject* OuterPrivate = nullptr;
    EObjectFlags FlagsPrivate = RF_NoFlags;
    int32 InternalIndex = INDEX_NONE;
};

/** What a reflected property change was. */
struct FPropertyChangedEvent
{
    const FProperty* Property = nullptr;

    FName GetPropertyName() const;
};

/**
 * True for a class that declares its own reflection (VT_BODY). A class derived from such a
 * class without one of its own would be made and tested as its base.
 */
template <typename T>
concept CReflectedClass = std::is_base_of_v<UObject, T> && std::is_same_v<typename T::ThisClass, T>;

/** Casts an object to T when it is one (class test for objects, dynamic cast for interfaces). */
template <typename T>
T* Cast(UObject* Object)
{
    if constexpr (std::is_base_of_v<UObject, T>)
    {
        static_assert(CReflectedClass<T>, "the class needs its own VT_BODY");
        return Object && Object->IsA<T>() ? static_cast<T*>(Object) : nullptr;
    }
    else
    {
        return dynamic_cast<T*>(Object);
    }
}

template <typename T>
const T* Cast(const UObject* Object)
{
    return Cast<T>(const_cast<UObject*>(Object));
}

template <typename T>
T* CastChecked(UObject* Object)
{
    T* Result = Cast<T>(Object);
    VT_CHECKF(Result != nullptr, "cast of %s failed", Object ? *Object->GetPathName() : "null");
    return Result;
}

/** True when the pointer is set and the object has not been destroyed. */
inline bool IsValid(const UObject* Object)
{
    return Object && Object->IsValid();
}
