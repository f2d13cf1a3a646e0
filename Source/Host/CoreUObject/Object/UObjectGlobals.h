#pragma once

#include "CoreUObject/Object/Object.h"
#include "CoreUObject/Object/ObjectArray.h"
#include "CoreUObject/Object/Package.h"
#include "CoreUObject/Reflection/Class.h"

/**
 * Makes an object of Class inside Outer (the transient package when none). A name of none
 * gives a unique name made from the class name; a name already used in the outer is a
 * programming error.
 */
UObject* StaticConstructObject(UClass* Class, UObject* Outer, FName Name, EObjectFlags Flags);

template <CReflectedClass T>
T* NewObject(UObject* Outer = nullptr, FName Name = NAME_None, EObjectFlags Flags = RF_NoFlags)
{
    return static_cast<T*>(StaticConstructObject(T::StaticClass(), Outer, Name, Flags));
}

/** Makes an object of a class derived from T, chosen at run time. */
template <CReflectedClass T>
T* NewObject(UObject* Outer, UClass* Class, FName Name = NAME_None, EObjectFlags Flags = RF_NoFlags)
{
    VT_CHECKF(Class && Class->IsChildOf(T::StaticClass()), "%s is not a %s",
              Class ? *Class->GetName() : "null", *T::StaticClass()->GetName());
    return static_cast<T*>(StaticConstructObject(Class, Outer, Name, Flags));
}

/** Finds an object by its path name ("/Game/Hero.Hero", "/Script/Engine.SkeletalMesh"). */
UObject* StaticFindObject(const FString& PathName);

template <typename T>
T* FindObject(const FString& PathName)
{
    return Cast<T>(StaticFindObject(PathName));
}

/** Finds a class by its path name or by its name with or without the "U" prefix. */
UClass* FindClass(const FString& Name);

/** Calls Visit(T*) for every live object of class T (subclasses included). */
template <typename T, typename VisitorType>
void ForEachObjectOfClass(VisitorType Visit)
{
    FUObjectArray::Get().ForEachObject(
        [&Visit](UObject* Object)
        {
            if (Object->IsValid() && Object->IsA<T>())
            {
                Visit(static_cast<T*>(Object));
            }
        });
}
